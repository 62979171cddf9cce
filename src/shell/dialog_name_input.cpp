#include "shell/dialog_name_input.h"

#include "shell/name_input_dialog.h"
#include "shell/site_input_dialog.h"

namespace quillet {

bool DialogNameInput::AskName(const std::string& title, const std::string& initialText, const std::string& caption) {
    NameInputDialog dialog(m_store, QString::fromStdString(title), QString::fromStdString(initialText),
                           QString::fromStdString(caption), m_owner);
    return dialog.exec() == QDialog::Accepted;
}

bool DialogNameInput::AskSite() {
    SiteInputDialog dialog(m_store, m_owner);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace quillet
