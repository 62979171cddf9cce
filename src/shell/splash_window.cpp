#include "shell/splash_window.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>

namespace quillet {

constexpr int kSplashMilliseconds = 750;

QPixmap SplashWindow::Picture() {
    QSvgRenderer renderer(QStringLiteral(":/images/splash.svg"));
    QPixmap picture(renderer.defaultSize());
    picture.fill(Qt::white);
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}

SplashWindow::SplashWindow(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_picture(Picture()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_picture.size());
    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QTimer::singleShot(kSplashMilliseconds, this, &SplashWindow::Dismiss);
    qApp->installEventFilter(this);
}

SplashWindow::~SplashWindow() { qApp->removeEventFilter(this); }

bool SplashWindow::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            Dismiss();
            return true;
        default:
            return false;
    }
}

void SplashWindow::paintEvent(QPaintEvent*) { QPainter(this).drawPixmap(0, 0, m_picture); }

void SplashWindow::Dismiss() {
    qApp->removeEventFilter(this);
    emit dismissed();
    close();
}

}  // namespace quillet
