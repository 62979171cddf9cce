#include "ui/dynamic_dialog.h"

#include <QCloseEvent>

#include "res/dialog_template.h"
#include "ui/dialog_builder.h"

namespace quillet {
namespace {

void BuildFromTemplate(QWidget& window, int templateId) {
    if (const res::DialogTemplate* dialogTemplate = res::FindDialogTemplate(templateId)) {
        BuildDialog(window, *dialogTemplate);
    }
}

}  // namespace

DynamicDialog::DynamicDialog(int templateId, QWidget* parent, int freedom, int flags)
    : QDialog(parent), m_templateId(templateId), m_engine(*this, freedom, flags) {
    BuildFromTemplate(*this, templateId);
    setSizeGripEnabled(false);
}

DynamicChildDialog::DynamicChildDialog(int templateId, QWidget* parent, int freedom, int flags)
    : QWidget(parent), m_engine(*this, freedom, flags) {
    BuildFromTemplate(*this, templateId);
    m_engine.SetPositionName(QString::fromStdString(PositionName(static_cast<unsigned long>(templateId))));
}

DynamicBarDialog::DynamicBarDialog(int templateId, QWidget* parent) : DynamicDialog(templateId, parent) {
    setModal(false);
}

void DynamicBarDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

}  // namespace quillet
