#include "ui/layout_math.h"

#include <cstdio>

namespace quillet {
namespace {

struct Shares {
    std::uint8_t begin;
    std::uint8_t end;
};

Shares SharesOf(SizeMode mode) {
    switch (mode) {
        case SizeMode::None:
            return {0, 0};
        case SizeMode::Resize:
            return {0, 100};
        case SizeMode::Move:
            return {100, 100};
        case SizeMode::Relative:
            return {50, 50};
    }
    return {0, 0};
}

}  // namespace

ChildLayout ChildLayout::FromModes(const Box& initial, SizeMode x, SizeMode y) {
    const Shares horizontal = SharesOf(x);
    const Shares vertical = SharesOf(y);
    return {initial, horizontal.begin, vertical.begin, horizontal.end, vertical.end, 0, 0};
}

Box ChildBox(const ChildLayout& child, int dx, int dy) {
    Box box{child.initial.left + child.x1 * dx / 100, child.initial.top + child.y1 * dy / 100,
            child.initial.right + child.x2 * dx / 100, child.initial.bottom + child.y2 * dy / 100};
    if (box.left + child.minWidth >= box.right) {
        box.right = -10;
        box.left = -10 - child.minWidth;
    }
    if (box.top + child.minHeight >= box.bottom) {
        box.bottom = -10;
        box.top = -10 - child.minHeight;
    }
    return box;
}

Box DefaultPlacement(const Box& window, const Box& parent) {
    const int width = window.Width();
    const int height = window.Height();
    const int left = parent.left + (parent.Width() - width) / 2;
    const int top = parent.top + (parent.Height() - height) / 2;
    const int growX = width * 10 / 100;
    const int growY = height * 10 / 100;
    return {left - growX / 2, top - growY / 2, left + width + (growX - growX / 2), top + height + (growY - growY / 2)};
}

std::string PositionName(unsigned long templateId) {
    char name[32];
    std::snprintf(name, sizeof name, "ID=0x%08lx", templateId);
    return name;
}

std::string PositionSection(const std::string& name, char separator) {
    std::string section = "WindowPositions";
    if (section.back() != separator) {
        section += separator;
    }
    return section + name;
}

}  // namespace quillet
