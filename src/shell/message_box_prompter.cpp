#include "shell/message_box_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace quillet {
namespace {

QMessageBox::StandardButton Ask(QWidget* owner, const std::string& caption, const std::string& text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    // Without an owner of its own, the box belongs to the window the user is in, so it is never hidden behind
    // a capture window that stays on top.
    if (!owner) {
        owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text), buttons, owner);
    box.setDefaultButton(defaultButton);
    const std::pair<QMessageBox::StandardButton, QString> labels[] = {
        {QMessageBox::Ok, QStringLiteral("确定(&O)")},
        {QMessageBox::Yes, QStringLiteral("是(&Y)")},
        {QMessageBox::No, QStringLiteral("否(&N)")},
        {QMessageBox::Cancel, QStringLiteral("取消(&C)")}};
    for (const auto& [button, label] : labels) {
        if (QAbstractButton* shown = box.button(button)) {
            shown->setText(label);
        }
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void MessageBoxPrompter::Notice(const std::string& text, const std::string& caption) {
    Ask(m_owner, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxPrompter::Confirm(const std::string& text) {
    return Ask(m_owner, "Quillet", text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

SaveAnswer MessageBoxPrompter::AskSave(const std::string& text, bool withCancel) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) {
        buttons |= QMessageBox::Cancel;
    }
    switch (Ask(m_owner, "Quillet", text, buttons, QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return SaveAnswer::Yes;
        case QMessageBox::No:
            return SaveAnswer::No;
        default:
            // Escape or closing the box without Cancel counts as No, as it does for a box of two buttons.
            return withCancel ? SaveAnswer::Cancel : SaveAnswer::No;
    }
}

}  // namespace quillet
