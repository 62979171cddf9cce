#include "ui/dynamic_bar.h"

namespace quillet {

DynamicBar::DynamicBar(const QString& caption, QMainWindow& frame, QSize defaultSize, bool hasGripper, int id,
                       DynamicBarDialog* dialog)
    : CSizingBar(caption, frame, defaultSize, hasGripper, id), m_dialog(dialog) {
    // Inside the bar the dialog is a plain child window, sized by the dock to fill it.
    dialog->setWindowFlags(Qt::Widget);
    dialog->setMinimumSize(0, 0);
    setWidget(dialog);
}

}  // namespace quillet
