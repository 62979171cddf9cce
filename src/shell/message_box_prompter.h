#pragma once

#include <QPointer>
#include <QWidget>

#include "store/prompter.h"

namespace quillet {

// Message boxes without an icon, captioned "Quillet" unless a caption is given, owned by one window.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* owner = nullptr) : m_owner(owner) {}

    void Notice(const std::string& text, const std::string& caption = "Quillet") override;
    bool Confirm(const std::string& text) override;
    SaveAnswer AskSave(const std::string& text, bool withCancel = true) override;

private:
    QPointer<QWidget> m_owner;
};

}  // namespace quillet
