#include "shell/site_input_dialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "res/dialog_template.h"
#include "res/resource_ids.h"
#include "store/codec.h"
#include "ui/dialog_builder.h"

namespace quillet {
namespace {

QString FromStored(const std::string& text) { return QString::fromStdString(ToUtf8(text)); }
std::string ToStored(const QString& text) { return ToStoredText(text.toStdString()); }

}  // namespace

SiteInputDialog::SiteInputDialog(CardStore& store, QWidget* parent) : QDialog(parent), m_store(store) {
    BuildDialog(*this, *res::FindDialogTemplate(res::kSiteInputDialog));
    Control<QLineEdit>(*this, res::kSiteNameEdit)->setText(FromStored(store.currentCard.name));
    Control<QLineEdit>(*this, res::kSiteAddressEdit)->setText(FromStored(store.currentCard.address));
    Control<QPlainTextEdit>(*this, res::kSiteDescriptionEdit)->setPlainText(FromStored(store.currentCard.content));
    Control<QLineEdit>(*this, res::kSiteNameEdit)->setFocus();
}

void SiteInputDialog::accept() {
    m_store.currentCard.name = ToStored(Control<QLineEdit>(*this, res::kSiteNameEdit)->text());
    m_store.currentCard.address = ToStored(Control<QLineEdit>(*this, res::kSiteAddressEdit)->text());
    m_store.currentCard.content = ToStored(Control<QPlainTextEdit>(*this, res::kSiteDescriptionEdit)->toPlainText());
    QDialog::accept();
}

}  // namespace quillet
