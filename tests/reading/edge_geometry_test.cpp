#include "reading/edge_geometry.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// A panel body of 300 × 600 with a 100-pixel tab, on a 1280 × 800 screen whose top 30 rows hold a desktop panel.
constexpr int kBodyWidth = 300;
constexpr int kBodyHeight = 600;
constexpr int kTab = 100;
constexpr PanelRect kScreen{0, 30, 1280, 770};

TEST(EdgeGeometry, shape_putsTheTabOnTheSideAwayFromTheEdge) {
    const struct {
        Edge edge;
        PanelRect window, body, tab;
    } cases[] = {
        {Edge::Left, {0, 0, 320, 600}, {0, 0, 300, 600}, {300, 0, 20, 100}},
        {Edge::Right, {0, 0, 320, 600}, {20, 0, 300, 600}, {0, 0, 20, 100}},
        {Edge::Top, {0, 0, 300, 620}, {0, 0, 300, 600}, {0, 600, 100, 20}},
        {Edge::Bottom, {0, 0, 300, 620}, {0, 20, 300, 600}, {0, 0, 100, 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.edge));
        const PanelShape shape = ShapeFor(c.edge, kBodyWidth, kBodyHeight, kTab);
        EXPECT_EQ(shape.window, c.window);
        EXPECT_EQ(shape.body, c.body);
        EXPECT_EQ(shape.tab, c.tab);
    }
}

TEST(EdgeGeometry, hiddenPosition_leavesOnlyTheTabOnTheScreen) {
    const struct {
        Edge edge;
        PanelPoint docked;
        PanelPoint hidden;
    } cases[] = {
        {Edge::Left, {0, 100}, {20 + 0 - 320, 100}},
        {Edge::Right, {960, 100}, {960 - 20 + 320, 100}},
        {Edge::Top, {50, 30}, {50, 20 + 30 - 620}},
        {Edge::Bottom, {50, 180}, {50, 180 - 20 + 620}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.edge));
        const PanelShape shape = ShapeFor(c.edge, kBodyWidth, kBodyHeight, kTab);
        const PanelPoint hidden = HiddenPosition(c.edge, c.docked, shape.window.width, shape.window.height);
        EXPECT_EQ(hidden, c.hidden);
        // What stays on the screen is the tab, whole.
        const PanelRect tabOnScreen = shape.tab.MovedBy(hidden);
        EXPECT_TRUE(kScreen.Contains({tabOnScreen.x, tabOnScreen.y}));
        EXPECT_TRUE(kScreen.Contains({tabOnScreen.Right() - 1, tabOnScreen.Bottom() - 1}));
        const PanelRect bodyOnScreen = shape.body.MovedBy(hidden);
        EXPECT_FALSE(
            kScreen.Contains({bodyOnScreen.x + bodyOnScreen.width / 2, bodyOnScreen.y + bodyOnScreen.height / 2}));
    }
}

TEST(EdgeGeometry, drag_standsOnlyAtAnEdge_andTopAndBottomWin) {
    const PanelShape onTop = ShapeFor(Edge::Top, kBodyWidth, kBodyHeight, kTab);  // 300 × 620
    const PanelPoint grab{40, 10};
    const struct {
        const char* what;
        PanelPoint cursor;
        bool moves;
        Edge edge;
        PanelPoint position;
    } cases[] = {
        {"near the top: follows the cursor along it", {500, 100}, true, Edge::Top, {460, 30}},
        {"near the top and the right: against the right end", {990, 100}, true, Edge::Top, {980, 30}},
        {"near the top and the left: snapped into the corner", {150, 60}, true, Edge::Top, {0, 30}},
        {"relatively nearer the left than the top", {60, 300}, true, Edge::Left, {0, 30}},
        {"relatively nearer the right than the top", {1250, 600}, true, Edge::Right, {960, 30}},
        {"nearer the bottom: follows the cursor along it", {700, 790}, true, Edge::Bottom, {660, 180}},
        {"a tie goes to the top", {31, 31 + 61}, true, Edge::Top, {0, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DragOutcome outcome = DragTo(c.cursor, grab, onTop, kScreen, kBodyWidth, kBodyHeight, kTab);
        EXPECT_EQ(outcome.moves, c.moves);
        EXPECT_EQ(outcome.edge, c.edge);
        EXPECT_EQ(outcome.position, c.position);
    }
}

TEST(EdgeGeometry, drag_inTheMiddleDoesNotMove) {
    // A small panel, so that the middle of the screen is far from every edge.
    const PanelShape small = ShapeFor(Edge::Top, 100, 100, 60);
    EXPECT_FALSE(DragTo({640, 400}, {10, 10}, small, kScreen, 100, 100, 60).moves);
    EXPECT_TRUE(DragTo({640, 30 + 119}, {10, 10}, small, kScreen, 100, 100, 60).moves) << "closer than its height";
}

TEST(EdgeGeometry, tabLength_isIconButtonAndTitleButNeverLongerThanItsSide) {
    EXPECT_EQ(TabLength(80, true, 300), 16 + 15 + 80);
    EXPECT_EQ(TabLength(400, true, 300), 300);
    EXPECT_EQ(TabLength(80, false, 300), 60);
    EXPECT_EQ(TabLength(80, false, 40), 40);
}

}  // namespace
}  // namespace quillet
