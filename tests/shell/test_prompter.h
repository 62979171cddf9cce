#pragma once

#include <string>
#include <vector>

#include "store/prompter.h"

namespace quillet::test {

// Answers every question from fixed answers and remembers what was shown.
class TestPrompter final : public Prompter {
public:
    void Notice(const std::string& text, const std::string& caption) override {
        notices.push_back(text);
        captions.push_back(caption);
        shown.push_back("notice:" + text);
    }
    bool Confirm(const std::string& text) override {
        shown.push_back("confirm:" + text);
        return confirmAnswer;
    }
    SaveAnswer AskSave(const std::string& text, bool) override {
        shown.push_back("save:" + text);
        return saveAnswer;
    }

    std::vector<std::string> notices;
    std::vector<std::string> captions;
    std::vector<std::string> shown;
    bool confirmAnswer = true;
    SaveAnswer saveAnswer = SaveAnswer::No;
};

}  // namespace quillet::test
