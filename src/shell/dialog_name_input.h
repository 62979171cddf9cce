#pragma once

#include <QPointer>
#include <QWidget>

#include "store/card_store.h"
#include "store/entry_pane.h"

namespace quillet {

// The operations' name and site questions, asked with the real dialogs.
class DialogNameInput final : public NameInput {
public:
    DialogNameInput(CardStore& store, QWidget* owner) : m_store(store), m_owner(owner) {}

    bool AskName(const std::string& title, const std::string& initialText, const std::string& caption) override;
    bool AskSite() override;

private:
    CardStore& m_store;
    QPointer<QWidget> m_owner;
};

}  // namespace quillet
