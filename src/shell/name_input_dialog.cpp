#include "shell/name_input_dialog.h"

#include <QGroupBox>
#include <QLineEdit>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"

namespace quillet {

NameInputDialog::NameInputDialog(CardStore& store, const QString& title, const QString& text, const QString& caption,
                                 QWidget* parent)
    : QDialog(parent), m_store(store) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kNameInputDialog));
    setWindowTitle(title);
    Control<QGroupBox>(*this, res::kNameGroup)->setTitle(caption);
    auto* edit = Control<QLineEdit>(*this, res::kNameEdit);
    edit->setText(text);
    edit->setFocus();
}

void NameInputDialog::accept() {
    const QString text = Control<QLineEdit>(*this, res::kNameEdit)->text();
    if (text.isEmpty() || text == QStringLiteral(" ")) {
        return;
    }
    m_store.currentCard.name = ToStoredText(text.toStdString());
    QDialog::accept();
}

}  // namespace quillet
