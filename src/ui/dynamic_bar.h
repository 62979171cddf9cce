#pragma once

#include "ui/dynamic_dialog.h"
#include "ui/sizing_bar.h"

namespace quillet {

// A sizing bar that holds one dynamic dialog and makes it fill the bar.
class DynamicBar final : public CSizingBar {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DynamicBar)

public:
    DynamicBar(const QString& caption, QMainWindow& frame, QSize defaultSize, bool hasGripper, int id,
               DynamicBarDialog* dialog);

    DynamicBarDialog* Dialog() const { return m_dialog; }

private:
    DynamicBarDialog* m_dialog;
};

}  // namespace quillet
