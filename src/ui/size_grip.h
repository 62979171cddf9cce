#pragma once

#include <QSizeGrip>

namespace quillet {

// The grip in a resizable window's bottom-right corner; neither drawn nor active while the window is
// maximised.
class SizeGrip final : public QSizeGrip {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SizeGrip)

public:
    explicit SizeGrip(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace quillet
