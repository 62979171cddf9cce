#pragma once

#include <QRect>
#include <span>

class QWidget;

namespace quillet {

// The window rectangle moved (and if need be shrunk) so that it lies wholly inside the area.
QRect FittedInto(const QRect& window, const QRect& area);

// The entry-mode window's first place: two thirds of the available area in each direction, centred.
QRect DefaultFrameRect(const QRect& available);

// Of these screen areas, the one that holds most of the rectangle, or the nearest one when it is on none of them
// (a saved place from a monitor that was unplugged); -1 when there is none.
int ScreenIndexFor(const QRect& window, std::span<const QRect> screens);

// The available area of the screen ScreenIndexFor chooses.
QRect AvailableAreaFor(const QRect& window);

// Moves a top-level window fully onto the available area of its screen, title bar included.
void FitOnScreen(QWidget& window);

}  // namespace quillet
