#pragma once

#include <string>
#include <string_view>

namespace quillet {

// What the tool prints of stored data, made safe for a terminal and for line-oriented scripts.

// A name on one line: control characters and the backslash are written as C escapes (\n, \t, \r, \\, \xHH
// for other ASCII controls and DEL, \u0085 for the C1 controls), so a name can neither break a line nor send
// escape sequences to the terminal. Text is UTF-8.
std::string EscapedName(std::string_view utf8);
// The same, appended to `out`.
void AppendEscapedName(std::string_view utf8, std::string& out);

// A card's text as a terminal shows it: CR LF becomes LF; LF and tab stay, every other control character is
// escaped as in a name. With raw, only the control characters are escaped and line ends stay as stored.
std::string ShownText(std::string_view utf8, bool raw);

// Standard input's text for storing: lone LF becomes the CR LF the program uses, unless raw.
std::string StoredLineEnds(std::string_view utf8, bool raw);

}  // namespace quillet
