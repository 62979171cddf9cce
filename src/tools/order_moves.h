#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace quillet {

enum class OrderMove { Up, Down, Top, Bottom };

// Moves the entry at `selected` of `order` (a list of entries, here their indices) one place up or down, or to
// the top or the bottom; the whole entry moves. Returns its new place, or nothing when the move does nothing
// (nothing selected, or already there).
std::optional<std::size_t> MoveEntry(std::vector<std::size_t>& order, std::optional<std::size_t> selected,
                                     OrderMove move);

}  // namespace quillet
