#include "reading/edge_geometry.h"

#include <algorithm>

namespace quillet {

bool IsHorizontal(Edge edge) { return edge == Edge::Top || edge == Edge::Bottom; }

int TabLength(int titleWidth, bool titleTab, int sideLength) {
    const int wanted = titleTab ? kTabIconLength + kTabButtonLength + titleWidth : kUntitledTabLength;
    return std::max(0, std::min(wanted, sideLength));
}

PanelShape ShapeFor(Edge edge, int bodyWidth, int bodyHeight, int tabLength) {
    PanelShape shape;
    switch (edge) {
        case Edge::Left:  // tab on the right
            shape.window = {0, 0, bodyWidth + kTabThickness, bodyHeight};
            shape.body = {0, 0, bodyWidth, bodyHeight};
            shape.tab = {bodyWidth, 0, kTabThickness, tabLength};
            break;
        case Edge::Right:  // tab on the left, the children shifted by it
            shape.window = {0, 0, bodyWidth + kTabThickness, bodyHeight};
            shape.body = {kTabThickness, 0, bodyWidth, bodyHeight};
            shape.tab = {0, 0, kTabThickness, tabLength};
            break;
        case Edge::Top:  // tab below
            shape.window = {0, 0, bodyWidth, bodyHeight + kTabThickness};
            shape.body = {0, 0, bodyWidth, bodyHeight};
            shape.tab = {0, bodyHeight, tabLength, kTabThickness};
            break;
        case Edge::Bottom:  // tab above, the children shifted by it
            shape.window = {0, 0, bodyWidth, bodyHeight + kTabThickness};
            shape.body = {0, kTabThickness, bodyWidth, bodyHeight};
            shape.tab = {0, 0, tabLength, kTabThickness};
            break;
    }
    return shape;
}

PanelPoint HiddenPosition(Edge edge, PanelPoint docked, int windowWidth, int windowHeight) {
    switch (edge) {
        case Edge::Left:
            return {kTabThickness + docked.x - windowWidth, docked.y};
        case Edge::Right:
            return {docked.x - kTabThickness + windowWidth, docked.y};
        case Edge::Top:
            return {docked.x, kTabThickness + docked.y - windowHeight};
        case Edge::Bottom:
            return {docked.x, docked.y - kTabThickness + windowHeight};
    }
    return docked;
}

DragOutcome DragTo(PanelPoint cursor, PanelPoint grab, const PanelShape& current, const PanelRect& screen,
                   int bodyWidth, int bodyHeight, int tabLength) {
    const int width = current.window.width;
    const int height = current.window.height;
    const bool nearLeft = cursor.x - screen.x < width;
    const bool nearRight = !nearLeft && screen.Right() - cursor.x < width;
    const bool nearTop = cursor.y - screen.y < height;
    const bool nearBottom = !nearTop && screen.Bottom() - cursor.y < height;

    DragOutcome outcome;
    // Of the edges the cursor is near, the one it is nearest to for the panel's size along that axis wins, top
    // and bottom on a tie: a tall panel can then reach the left and right edges too.
    struct Candidate {
        Edge edge;
        bool near;
        int distance;
        int size;
    };
    const Candidate candidates[] = {
        {Edge::Top, nearTop, cursor.y - screen.y, height},
        {Edge::Bottom, nearBottom, screen.Bottom() - cursor.y, height},
        {Edge::Left, nearLeft, cursor.x - screen.x, width},
        {Edge::Right, nearRight, screen.Right() - cursor.x, width},
    };
    const Candidate* best = nullptr;
    for (const Candidate& candidate : candidates) {
        // distance / size < best distance / best size, in integers
        if (candidate.near && (!best || static_cast<long long>(candidate.distance) * best->size <
                                            static_cast<long long>(best->distance) * candidate.size)) {
            best = &candidate;
        }
    }
    if (!best) {
        return outcome;  // in the middle of the screen the panel stays where it is
    }
    outcome.edge = best->edge;
    outcome.moves = true;
    // The size on the new edge: the tab may have moved to another side.
    const PanelRect window = ShapeFor(outcome.edge, bodyWidth, bodyHeight, tabLength).window;
    // One axis: against the near end, or following the cursor along it without leaving the screen.
    auto place = [](bool nearLow, bool nearHigh, int wanted, int low, int high, int size) {
        const int last = std::max(low, high - size);
        return nearLow ? low : nearHigh ? high - size : std::clamp(wanted, low, last);
    };
    outcome.position.x = place(nearLeft, nearRight, cursor.x - grab.x, screen.x, screen.Right(), window.width);
    outcome.position.y = place(nearTop, nearBottom, cursor.y - grab.y, screen.y, screen.Bottom(), window.height);
    return outcome;
}

}  // namespace quillet
