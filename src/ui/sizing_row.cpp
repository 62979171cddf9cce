#include "ui/sizing_row.h"

#include <algorithm>

namespace quillet {
namespace {

// The frame's bar layout counts every bar two pixels shorter: neighbours overlap by their borders.
constexpr int kOverlap = 2;

bool AlongRow(DragEdge edge, bool horizontalRow) {
    return horizontalRow ? (edge == DragEdge::Left || edge == DragEdge::Right)
                         : (edge == DragEdge::Top || edge == DragEdge::Bottom);
}

bool TowardsStart(DragEdge edge) { return edge == DragEdge::Left || edge == DragEdge::Top; }

int NeighbourOf(int index, DragEdge edge) { return TowardsStart(edge) ? index - 1 : index + 1; }

}  // namespace

NegotiationResult NegotiateRow(std::vector<RowBar>& row, int available) {
    int sizingBars = 0;
    int rowMinimum = kOverlap;
    for (const RowBar& bar : row) {
        if (bar.sizing) {
            ++sizingBars;
            rowMinimum += bar.minLength - kOverlap;
        } else {
            available -= bar.length - kOverlap;
        }
    }
    if (rowMinimum > available) {
        return sizingBars > 1 ? NegotiationResult::WrapToNewRow : NegotiationResult::Failed;
    }

    int thickness = 0;
    int used = 0;
    for (const RowBar& bar : row) {
        if (bar.sizing) {
            thickness = std::max(thickness, bar.thickness);
            used += bar.length - kOverlap;
        }
    }
    for (RowBar& bar : row) {
        if (bar.sizing) {
            bar.thickness = thickness;
        }
    }

    int difference = available - used;
    bool firstRound = true;
    while (difference != 0) {
        bool gave = false;
        for (RowBar& bar : row) {
            if (difference == 0) {
                break;
            }
            if (!bar.sizing || (firstRound && bar.keepSize) || (difference < 0 && bar.length <= bar.minLength)) {
                continue;
            }
            const int step = difference > 0 ? 1 : -1;
            bar.length += step;
            difference -= step;
            gave = true;
        }
        if (firstRound) {
            for (RowBar& bar : row) {
                bar.keepSize = false;
            }
        } else if (!gave) {
            break;
        }
        firstRound = false;
    }
    return NegotiationResult::Done;
}

bool IsSharedEdge(const std::vector<RowBar>& row, int index, DragEdge edge, bool horizontalRow) {
    if (!AlongRow(edge, horizontalRow)) {
        return false;
    }
    const int neighbour = NeighbourOf(index, edge);
    return neighbour >= 0 && neighbour < static_cast<int>(row.size()) && row[neighbour].sizing;
}

TrackingLimits LimitsOfDrag(const std::vector<RowBar>& row, int index, DragEdge edge, bool horizontalRow,
                            int freeSpace) {
    const RowBar& bar = row[index];
    if (IsSharedEdge(row, index, edge, horizontalRow)) {
        const RowBar& neighbour = row[NeighbourOf(index, edge)];
        return {bar.minLength, bar.length + neighbour.length - neighbour.minLength};
    }
    int minimum = bar.minThickness;
    for (const RowBar& other : row) {
        if (other.sizing) {
            minimum = std::max(minimum, other.minThickness);
        }
    }
    return {minimum, std::max(minimum, bar.thickness + freeSpace - 4)};
}

void ApplyDrag(std::vector<RowBar>& row, int index, DragEdge edge, bool horizontalRow, int newSize,
               const TrackingLimits& limits) {
    const int size = std::clamp(newSize, limits.minimum, std::max(limits.minimum, limits.maximum));
    RowBar& bar = row[index];
    if (IsSharedEdge(row, index, edge, horizontalRow)) {
        row[NeighbourOf(index, edge)].length -= size - bar.length;
        bar.length = size;
        return;
    }
    for (RowBar& other : row) {
        if (other.sizing) {
            other.thickness = size;
        }
    }
}

}  // namespace quillet
