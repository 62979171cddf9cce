#pragma once

#include <vector>

namespace quillet {

// One bar of a docking row, measured along the row (length) and across it (thickness).
struct RowBar {
    int length = 0;
    int thickness = 0;
    int minLength = 0;
    int minThickness = 0;
    bool sizing = true;     // a sizing bar; other bars keep their size
    bool keepSize = false;  // just shown again: left alone in the first round of a negotiation
};

enum class NegotiationResult {
    Done,
    Failed,        // the row cannot hold its sizing bars even at their minimum
    WrapToNewRow,  // as Failed, and the bar asking should move into a row of its own
};

// Shares a row of length `available` among its sizing bars: all take the largest thickness, and the spare
// (or missing) pixels are handed out one at a time in row order, skipping bars at their minimum when
// shrinking and keep-size bars in the first round.
NegotiationResult NegotiateRow(std::vector<RowBar>& row, int available);

enum class DragEdge { Left, Top, Right, Bottom };

struct TrackingLimits {
    int minimum = 0;
    int maximum = 0;
};

// The limits of dragging an edge of bar `index`: not below its minimum (raised to the largest minimum
// thickness of the row), and, on an edge shared with a neighbour, not beyond what the neighbour can give up;
// on the row's outer edge, not beyond the space the frame has free (less 4).
TrackingLimits LimitsOfDrag(const std::vector<RowBar>& row, int index, DragEdge edge, bool horizontalRow,
                            int freeSpace);

// Gives bar `index` the new size on the dragged edge, clamped into the limits. A shared edge moves the
// neighbour the opposite way; an outer edge gives every bar of the row the new thickness.
void ApplyDrag(std::vector<RowBar>& row, int index, DragEdge edge, bool horizontalRow, int newSize,
               const TrackingLimits& limits);

// Whether the edge lies between this bar and a neighbour of the same row (rather than facing the frame).
bool IsSharedEdge(const std::vector<RowBar>& row, int index, DragEdge edge, bool horizontalRow);

}  // namespace quillet
