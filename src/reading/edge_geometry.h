#pragma once

namespace quillet {

// The arithmetic of the reading window's edge panel, apart from any window: where it docks, where it hides,
// where a drag takes it and how long its tab is. Edges are numbered as the settings store them.
enum class Edge { Left = 0, Right = 1, Top = 2, Bottom = 3 };

inline constexpr int kTabThickness = 20;  // the tab stands out this far from the panel's body
inline constexpr int kTabIconLength = 16;
inline constexpr int kTabButtonLength = 15;
inline constexpr int kUntitledTabLength = 60;

struct PanelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PanelPoint&) const = default;
};

struct PanelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }    // one past the last column
    int Bottom() const { return y + height; }  // one past the last row
    bool Contains(PanelPoint point) const {
        return point.x >= x && point.x < Right() && point.y >= y && point.y < Bottom();
    }
    PanelRect MovedBy(PanelPoint by) const { return {x + by.x, y + by.y, width, height}; }
    bool operator==(const PanelRect&) const = default;
};

bool IsHorizontal(Edge edge);  // top or bottom: the tab runs along the panel's width

// The tab's length: the icon, the tab button and the title, never longer than the side it sits on.
int TabLength(int titleWidth, bool titleTab, int sideLength);

// The panel on an edge, in its own coordinates: the whole window, the body (where the children are) and the
// tab on the side facing away from the edge, at the start of that side.
struct PanelShape {
    PanelRect window;
    PanelRect body;
    PanelRect tab;
};
PanelShape ShapeFor(Edge edge, int bodyWidth, int bodyHeight, int tabLength);

// Where the window's top-left corner goes when the panel hides over its edge, so that only the tab is left on
// the screen.
PanelPoint HiddenPosition(Edge edge, PanelPoint docked, int windowWidth, int windowHeight);

// Where a drag takes the panel: it may stand only at a screen edge. Near the left or right edge (closer than
// the window's width) it snaps to it, near the top or bottom (closer than its height) likewise; the edge is
// the one the cursor is relatively nearest to, the top and bottom winning a tie; along its edge the panel
// follows the cursor (less the grab offset, the cursor's place in the window at the press) within the screen.
// Near no edge it does not move.
struct DragOutcome {
    bool moves = false;
    Edge edge = Edge::Top;
    PanelPoint position;  // of the window on the new edge
};
DragOutcome DragTo(PanelPoint cursor, PanelPoint grab, const PanelShape& current, const PanelRect& screen,
                   int bodyWidth, int bodyHeight, int tabLength);

}  // namespace quillet
