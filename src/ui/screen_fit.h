#pragma once

#include <QRect>

class QWidget;

namespace quillet {

// The window rectangle moved (and if need be shrunk) so that it lies wholly inside the area.
QRect FittedInto(const QRect& window, const QRect& area);

// The entry-mode window's first place: two thirds of the available area in each direction, centred.
QRect DefaultFrameRect(const QRect& available);

// The available area of the screen that holds most of the rectangle, or of the primary screen when it is on
// none of them (a saved place from a screen that is gone).
QRect AvailableAreaFor(const QRect& window);

// Moves a top-level window fully onto the available area of its screen, title bar included.
void FitOnScreen(QWidget& window);

}  // namespace quillet
