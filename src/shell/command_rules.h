#pragma once

#include <set>

namespace quillet {

// When a command of the entry-mode window is enabled.
enum class CommandRule {
    Plain,   // no rule: enabled
    Bar,     // only while the data bar is shown
    Web,     // only while the web library is current
    Always,  // a rule that leaves it enabled
};

CommandRule RuleOf(int id);

// Commands carried out by the tray, reading mode or the tools stay visibly unavailable until one of them has
// taken the command over (provided).
bool IsAvailable(int id, const std::set<int>& provided);

struct CommandContext {
    bool dataBarVisible = true;
    int currentLibrary = 1;
    std::set<int> provided;
};

bool IsEnabled(int id, const CommandContext& context);

}  // namespace quillet
