#pragma once

#include <string_view>

namespace quillet::res {

// The string resource of an id (UTF-8); empty when there is none. A command's string is its fly-by help, a
// line break and its tool tip.
std::string_view LoadString(int id);

// The part of a command's string after the line break: its tool tip.
std::string_view ToolTipOf(int id);
// The part before it: the fly-by help.
std::string_view FlyByOf(int id);

}  // namespace quillet::res
