#pragma once

#include <QDialog>

#include "store/card_store.h"

namespace quillet {

// Asks for a site's name, address and description, starting from the current card fields; OK takes all
// three as typed, empty ones too.
class SiteInputDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteInputDialog)

public:
    explicit SiteInputDialog(CardStore& store, QWidget* parent = nullptr);

    void accept() override;

private:
    CardStore& m_store;
};

}  // namespace quillet
