#include "ui/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

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

QRect AvailableAreaFor(const QRect& window) {
    const QScreen* best = nullptr;
    qint64 bestOverlap = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry().intersected(window);
        const qint64 area = static_cast<qint64>(overlap.width()) * overlap.height();
        if (area > bestOverlap) {
            best = screen;
            bestOverlap = area;
        }
    }
    if (!best) {
        best = QGuiApplication::primaryScreen();
    }
    return best ? best->availableGeometry() : QRect();
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
