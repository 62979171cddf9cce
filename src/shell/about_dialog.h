#pragma once

#include <QDialog>

namespace quillet {

// "关于 Quillet": the program's picture and its version; releasing the left mouse button anywhere closes it.
class AboutDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutDialog)

public:
    explicit AboutDialog(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace quillet
