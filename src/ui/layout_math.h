#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// The arithmetic of the dynamic layout, free of any widget.

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Box&) const = default;
};

// How a child follows its parent: the shares, in percent, of a change of the parent's width (x) and height
// (y) that its four edges take.
enum class SizeMode : std::uint8_t { None = 0, Resize = 1, Move = 2, Relative = 3 };

struct ChildLayout {
    Box initial;
    std::uint8_t x1 = 0;  // left edge
    std::uint8_t y1 = 0;  // top edge
    std::uint8_t x2 = 0;  // right edge
    std::uint8_t y2 = 0;  // bottom edge
    int minWidth = 0;
    int minHeight = 0;

    static ChildLayout FromModes(const Box& initial, SizeMode x, SizeMode y);
};

// Where the child goes when the parent's client area grew by dx and dy (negative: shrank). Products are
// divided by 100 truncating towards zero; a child squeezed to its minimum or less is parked out of sight,
// left of (and above) the client area.
Box ChildBox(const ChildLayout& child, int dx, int dy);

// Centred on the parent, then larger by a tenth of its own width and height: the place of a window that has
// no stored position.
Box DefaultPlacement(const Box& window, const Box& parent);

// "ID=0x%08lx" of a dialog template: the name under which a window's position is stored.
std::string PositionName(unsigned long templateId);
// The profile section of a stored position: "WindowPositions" and the name, joined by one separator.
std::string PositionSection(const std::string& name, char separator);

}  // namespace quillet
