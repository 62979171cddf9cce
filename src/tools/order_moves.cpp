#include "tools/order_moves.h"

#include <algorithm>

namespace quillet {

std::optional<std::size_t> MoveEntry(std::vector<std::size_t>& order, std::optional<std::size_t> selected,
                                     OrderMove move) {
    if (!selected || *selected >= order.size()) {
        return std::nullopt;
    }
    const std::size_t s = *selected;
    const std::size_t last = order.size() - 1;
    const auto at = order.begin() + static_cast<std::ptrdiff_t>(s);
    switch (move) {
        case OrderMove::Up:
            if (s == 0) {
                return std::nullopt;
            }
            std::iter_swap(at - 1, at);
            return s - 1;
        case OrderMove::Down:
            if (s == last) {
                return std::nullopt;
            }
            std::iter_swap(at, at + 1);
            return s + 1;
        case OrderMove::Top:
            if (s == 0) {
                return std::nullopt;
            }
            std::rotate(order.begin(), at, at + 1);
            return 0;
        case OrderMove::Bottom:
            if (s == last) {
                return std::nullopt;
            }
            std::rotate(at, at + 1, order.end());
            return last;
    }
    return std::nullopt;
}

}  // namespace quillet
