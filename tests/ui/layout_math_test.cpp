#include "ui/layout_math.h"

#include <gtest/gtest.h>

#include "ui/sizing_row.h"

namespace quillet {
namespace {

struct ChildCase {
    const char* what;
    ChildLayout child;
    int dx;
    int dy;
    Box expected;
};

TEST(LayoutMath, childBox_followsItsPercentages) {
    const Box start{10, 20, 110, 40};
    const ChildCase cases[] = {
        {"width only", {start, 0, 0, 100, 0}, 30, 50, {10, 20, 140, 40}},
        {"resize both", ChildLayout::FromModes(start, SizeMode::Resize, SizeMode::Resize), 30, 50, {10, 20, 140, 90}},
        {"move with the far edge",
         ChildLayout::FromModes(start, SizeMode::Move, SizeMode::None),
         30,
         50,
         {40, 20, 140, 40}},
        {"relative moves by half, truncated",
         ChildLayout::FromModes(start, SizeMode::Relative, SizeMode::Relative),
         7,
         7,
         {13, 23, 113, 43}},
        {"truncated towards zero when shrinking",
         ChildLayout::FromModes(start, SizeMode::Relative, SizeMode::None),
         -7,
         0,
         {7, 20, 107, 40}},
        {"none stays", ChildLayout::FromModes(start, SizeMode::None, SizeMode::None), 30, 50, start},
        {"width squeezed to zero is parked", {start, 0, 0, 100, 0}, -100, 0, {-10, 20, -10, 40}},
        {"height below zero is parked", {start, 0, 0, 0, 100}, 0, -25, {10, -10, 110, -10}},
        {"parked with its minimum width", {start, 0, 0, 100, 0, 40, 0}, -70, 0, {-50, 20, -10, 40}},
    };
    for (const ChildCase& c : cases) {
        EXPECT_EQ(ChildBox(c.child, c.dx, c.dy), c.expected) << c.what;
    }
}

TEST(LayoutMath, defaultPlacement_centresAndGrowsByATenth) {
    const Box placed = DefaultPlacement({0, 0, 205, 100}, {100, 100, 1100, 900});
    // 205 wide grows by 20: 10 on the left, 10 on the right; 100 high grows by 10: 5 and 5.
    EXPECT_EQ(placed, (Box{497 - 10, 450 - 5, 497 + 205 + 10, 450 + 100 + 5}));
    const Box odd = DefaultPlacement({0, 0, 30, 30}, {0, 0, 30, 30});
    EXPECT_EQ(odd, (Box{-1, -1, 32, 32})) << "3 pixels: 1 before, 2 after";
}

TEST(LayoutMath, positionNames) {
    EXPECT_EQ(PositionName(147), "ID=0x00000093");
    EXPECT_EQ(PositionSection("ID=0x00000093", '/'), "WindowPositions/ID=0x00000093");
}

RowBar Bar(int length, int thickness = 100, bool keep = false) { return {length, thickness, 33, 32, true, keep}; }

std::vector<int> Lengths(const std::vector<RowBar>& row) {
    std::vector<int> lengths;
    for (const RowBar& bar : row) {
        lengths.push_back(bar.length);
    }
    return lengths;
}

TEST(SizingRow, spareSpace_isHandedOutOnePixelAtATime) {
    std::vector<RowBar> row{Bar(100, 80), Bar(100, 120), Bar(100, 90)};
    // Used: 3 * 98 = 294; available 299: five pixels to share.
    ASSERT_EQ(NegotiateRow(row, 299), NegotiationResult::Done);
    EXPECT_EQ(Lengths(row), (std::vector<int>{102, 102, 101}));
    for (const RowBar& bar : row) {
        EXPECT_EQ(bar.thickness, 120) << "the row takes its largest thickness";
    }
}

TEST(SizingRow, keepSizeBars_areSkippedInTheFirstRoundOnly) {
    std::vector<RowBar> row{Bar(100, 100, true), Bar(100), Bar(100)};
    ASSERT_EQ(NegotiateRow(row, 294 + 4), NegotiationResult::Done);
    EXPECT_EQ(Lengths(row), (std::vector<int>{101, 102, 101}));
    EXPECT_FALSE(row[0].keepSize);
}

TEST(SizingRow, shrinking_skipsBarsAtTheirMinimum) {
    std::vector<RowBar> row{Bar(33), Bar(100), Bar(100)};
    ASSERT_EQ(NegotiateRow(row, 31 + 98 + 98 - 10), NegotiationResult::Done);
    EXPECT_EQ(Lengths(row), (std::vector<int>{33, 95, 95}));
}

TEST(SizingRow, rowThatCannotHoldItsMinimums_wrapsOrFails) {
    std::vector<RowBar> row{Bar(100), Bar(100)};
    EXPECT_EQ(NegotiateRow(row, 2 + 31 + 31 - 1), NegotiationResult::WrapToNewRow);
    std::vector<RowBar> alone{Bar(100)};
    EXPECT_EQ(NegotiateRow(alone, 20), NegotiationResult::Failed);
    std::vector<RowBar> withFixedBar{Bar(100), {60, 30, 60, 30, false, false}};
    EXPECT_EQ(NegotiateRow(withFixedBar, 2 + 31 + 58 - 1), NegotiationResult::Failed);
}

TEST(SizingRow, sharedEdge_stopsAtTheNeighboursMinimumKeepingTheSum) {
    std::vector<RowBar> row{Bar(150), Bar(120), Bar(100)};
    const TrackingLimits limits = LimitsOfDrag(row, 0, DragEdge::Right, true, 500);
    EXPECT_EQ(limits.maximum, 150 + 120 - 33);
    ApplyDrag(row, 0, DragEdge::Right, true, 1000, limits);
    EXPECT_EQ(Lengths(row), (std::vector<int>{237, 33, 100}));
    EXPECT_EQ(row[0].length + row[1].length, 270);

    const TrackingLimits back = LimitsOfDrag(row, 1, DragEdge::Left, true, 500);
    ApplyDrag(row, 1, DragEdge::Left, true, 0, back);
    EXPECT_EQ(Lengths(row), (std::vector<int>{237, 33, 100})) << "never below 33";
}

TEST(SizingRow, innerEdge_setsTheThicknessOfTheWholeRowWithinTheFrame) {
    std::vector<RowBar> row{Bar(150, 100), Bar(120, 100)};
    row[1].minThickness = 50;
    EXPECT_FALSE(IsSharedEdge(row, 0, DragEdge::Bottom, true));
    const TrackingLimits limits = LimitsOfDrag(row, 0, DragEdge::Bottom, true, 60);
    EXPECT_EQ(limits.minimum, 50) << "raised to the row's largest minimum thickness";
    EXPECT_EQ(limits.maximum, 100 + 60 - 4);
    ApplyDrag(row, 0, DragEdge::Bottom, true, 400, limits);
    EXPECT_EQ(row[0].thickness, 156);
    EXPECT_EQ(row[1].thickness, 156);
    ApplyDrag(row, 0, DragEdge::Bottom, true, 1, limits);
    EXPECT_EQ(row[0].thickness, 50);

    std::vector<RowBar> column{Bar(150, 100)};
    const TrackingLimits vertical = LimitsOfDrag(column, 0, DragEdge::Right, false, 0);
    ApplyDrag(column, 0, DragEdge::Right, false, 5, vertical);
    EXPECT_EQ(column[0].thickness, 32) << "a bar is never thinner than its minimum";
}

}  // namespace
}  // namespace quillet
