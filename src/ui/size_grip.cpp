#include "ui/size_grip.h"

#include <QMouseEvent>

namespace quillet {

SizeGrip::SizeGrip(QWidget* parent) : QSizeGrip(parent) { setCursor(Qt::SizeFDiagCursor); }

void SizeGrip::paintEvent(QPaintEvent* event) {
    if (!window()->isMaximized()) {
        QSizeGrip::paintEvent(event);
    }
}

void SizeGrip::mousePressEvent(QMouseEvent* event) {
    if (window()->isMaximized()) {
        event->ignore();
        return;
    }
    QSizeGrip::mousePressEvent(event);
}

}  // namespace quillet
