#pragma once

#include <QDialog>

#include "store/card_store.h"

namespace quillet {

// Asks for one name. OK with an empty text or a single blank does nothing; otherwise the text, blanks and
// all, becomes the current card name.
class NameInputDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NameInputDialog)

public:
    NameInputDialog(CardStore& store, const QString& title, const QString& text, const QString& caption,
                    QWidget* parent = nullptr);

    void accept() override;

private:
    CardStore& m_store;
};

}  // namespace quillet
