#pragma once

#include <QPixmap>
#include <QWidget>

namespace quillet {

// The picture shown while the program starts: gone after 750 ms, or at once on a key or a mouse button,
// which it then swallows.
class SplashWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SplashWindow)

public:
    explicit SplashWindow(QWidget* owner = nullptr);
    ~SplashWindow() override;

    static QPixmap Picture();

signals:
    void dismissed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Dismiss();

    QPixmap m_picture;
};

}  // namespace quillet
