#include "ui/screen_fit.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ScreenFit, windowsAreMovedAndShrunkIntoTheArea) {
    const QRect area(0, 24, 1280, 776);
    const std::pair<QRect, QRect> cases[] = {
        {QRect(100, 100, 300, 200), QRect(100, 100, 300, 200)},    // already inside
        {QRect(-500, -300, 300, 200), QRect(0, 24, 300, 200)},     // above and left of the screen
        {QRect(5000, 5000, 300, 200), QRect(980, 600, 300, 200)},  // a screen that is gone
        {QRect(10, 10, 2000, 1000), QRect(0, 24, 1280, 776)},      // larger than the screen
    };
    for (const auto& [window, expected] : cases) {
        EXPECT_EQ(FittedInto(window, area), expected);
    }
    EXPECT_EQ(DefaultFrameRect(QRect(0, 0, 1200, 900)), QRect(200, 150, 800, 600));
}

TEST(ScreenFit, theScreenWithMostOfTheWindow_orTheNearestWhenOnNone) {
    const QRect screens[] = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const std::pair<QRect, int> cases[] = {
        {QRect(100, 100, 300, 200), 0},   {QRect(1800, 100, 400, 200), 1},  // more of it on the right-hand screen
        {QRect(3500, 200, 300, 200), 1},   // right of both: the right-hand one is nearer
        {QRect(-900, 2000, 300, 200), 0},  // below and left of both
        {QRect(2000, -800, 300, 200), 1},  // above the right-hand one
    };
    for (const auto& [window, expected] : cases) {
        EXPECT_EQ(ScreenIndexFor(window, screens), expected) << window.x() << "," << window.y();
    }
    EXPECT_EQ(ScreenIndexFor(QRect(0, 0, 10, 10), {}), -1);
}

}  // namespace
}  // namespace quillet
