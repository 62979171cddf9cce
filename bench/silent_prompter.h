#pragma once

#include <cstdio>
#include <string>

#include "store/prompter.h"

namespace quillet::bench {

// Answers No to every question; notices go to standard error, so that a benchmark never waits for a person.
class SilentPrompter final : public Prompter {
public:
    void Notice(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "notice: %s\n", text.c_str());
    }
    bool Confirm(const std::string&) override { return false; }
    SaveAnswer AskSave(const std::string&, bool) override { return SaveAnswer::No; }
};

}  // namespace quillet::bench
