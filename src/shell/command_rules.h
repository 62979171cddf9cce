#pragma once

namespace quillet {

// When a command of the entry-mode window is enabled.
enum class CommandRule {
    Plain,   // no rule: enabled
    Bar,     // only while the data bar is shown
    Web,     // only while the web library is current
    Always,  // a rule that leaves it enabled
};

CommandRule RuleOf(int id);

// Commands whose windows do not exist yet stay visibly unavailable.
bool IsAvailable(int id);

struct CommandContext {
    bool dataBarVisible = true;
    int currentLibrary = 1;
};

bool IsEnabled(int id, const CommandContext& context);

}  // namespace quillet
