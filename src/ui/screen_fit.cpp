#include "ui/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace quillet {

QRect FittedInto(const QRect& window, const QRect& area) {
    if (area.isEmpty()) {
        return window;
    }
    QRect fitted(window.topLeft(), window.size().boundedTo(area.size()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() - fitted.height() + 1));
    return fitted;
}

QRect DefaultFrameRect(const QRect& available) {
    QRect rect(QPoint(), QSize(available.width() * 2 / 3, available.height() * 2 / 3));
    rect.moveCenter(available.center());
    return rect;
}

int ScreenIndexFor(const QRect& window, std::span<const QRect> screens) {
    int best = -1;
    qint64 bestOverlap = 0;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const QRect overlap = screens[i].intersected(window);
        const qint64 area = static_cast<qint64>(overlap.width()) * overlap.height();
        if (area > bestOverlap) {
            best = static_cast<int>(i);
            bestOverlap = area;
        }
    }
    if (best >= 0) {
        return best;
    }
    // The gap between the rectangles along each axis, squared.
    qint64 bestDistance = 0;
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const QRect& screen = screens[i];
        const qint64 dx = std::max({0, screen.left() - window.right(), window.left() - screen.right()});
        const qint64 dy = std::max({0, screen.top() - window.bottom(), window.top() - screen.bottom()});
        const qint64 distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

QRect AvailableAreaFor(const QRect& window) {
    std::vector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        areas.push_back(screen->availableGeometry());
    }
    const int index = ScreenIndexFor(window, areas);
    return index >= 0 ? areas[static_cast<std::size_t>(index)] : QRect();
}

void FitOnScreen(QWidget& window) {
    // Before the window manager has framed the window its frame is unknown: leave room for a title bar.
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QMargins decoration = frame == client
                                    ? QMargins(4, 30, 4, 4)
                                    : QMargins(client.left() - frame.left(), client.top() - frame.top(),
                                               frame.right() - client.right(), frame.bottom() - client.bottom());
    const QRect outer = client.marginsAdded(decoration);
    const QRect fitted = FittedInto(outer, AvailableAreaFor(outer)).marginsRemoved(decoration);
    if (fitted != client) {
        window.setGeometry(fitted);
    }
}

}  // namespace quillet
