#pragma once

#include <string>

namespace quillet {

enum class SaveAnswer { Yes, No, Cancel };

// Every message of the program goes through one of these: caption "Quillet" unless given, no icon. Texts are
// UTF-8. The program shows message boxes; tests script the answers.
class Prompter {
public:
    virtual ~Prompter() = default;
    // OK only.
    virtual void Notice(const std::string& text, const std::string& caption = "Quillet") = 0;
    // Yes or No; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // Yes, No and, unless withCancel is false, Cancel.
    virtual SaveAnswer AskSave(const std::string& text, bool withCancel = true) = 0;
};

inline constexpr const char* kSaveQuestion = "资料卡片内容已经改变，是否存盘？";

}  // namespace quillet
