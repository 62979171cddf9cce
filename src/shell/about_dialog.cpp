#include "shell/about_dialog.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "shell/splash_window.h"
#include "ui/dialog_builder.h"

namespace quillet {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kAboutDialog));
    Control<QLabel>(*this, res::kAboutVersion)->setAlignment(Qt::AlignCenter);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        accept();
    }
}

void AboutDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect picture = FindControl(*this, res::kAboutPicture)->geometry();
    painter.drawPixmap(picture, SplashWindow::Picture());
}

}  // namespace quillet
