#include "tools/order_moves.h"

#include <gtest/gtest.h>

#include <numeric>

namespace quillet {
namespace {

TEST(OrderMoves, eachMoveAsTheButtonsSay_andNothingAtTheEnds) {
    const struct {
        std::optional<std::size_t> selected;
        OrderMove move;
        std::vector<std::size_t> after;  // entries numbered from 1
        std::optional<std::size_t> place;
    } cases[] = {
        {2, OrderMove::Top, {3, 1, 2, 4, 5}, 0},
        {1, OrderMove::Bottom, {1, 3, 4, 5, 2}, 4},
        {2, OrderMove::Up, {1, 3, 2, 4, 5}, 1},
        {2, OrderMove::Down, {1, 2, 4, 3, 5}, 3},
        {0, OrderMove::Up, {1, 2, 3, 4, 5}, std::nullopt},
        {0, OrderMove::Top, {1, 2, 3, 4, 5}, std::nullopt},
        {4, OrderMove::Down, {1, 2, 3, 4, 5}, std::nullopt},
        {4, OrderMove::Bottom, {1, 2, 3, 4, 5}, std::nullopt},
        {std::nullopt, OrderMove::Down, {1, 2, 3, 4, 5}, std::nullopt},
    };
    for (const auto& c : cases) {
        std::vector<std::size_t> order(5);
        std::iota(order.begin(), order.end(), std::size_t{1});
        EXPECT_EQ(MoveEntry(order, c.selected, c.move), c.place);
        EXPECT_EQ(order, c.after);
    }
    std::vector<std::size_t> one{7};
    for (const OrderMove move : {OrderMove::Up, OrderMove::Down, OrderMove::Top, OrderMove::Bottom}) {
        EXPECT_FALSE(MoveEntry(one, 0, move));
    }
}

}  // namespace
}  // namespace quillet
