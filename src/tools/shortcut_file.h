#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// The address of an Internet Shortcut file, read as the INI file it is: URL= of the [InternetShortcut] section
// wherever it stands, else BASEURL= of [DEFAULT]; section and key names in any letter case, a UTF-8 byte-order
// mark dropped, the value whole. Nothing for a file with neither (or an empty one).
std::optional<std::string> ReadShortcutAddress(std::string_view bytes);

// The file the export writes for an address: exactly the section line and the URL line, CR LF each.
std::string ShortcutFileBytes(std::string_view address);

// A file name the import takes as a shortcut: ends in ".url", in any letter case, with something before it.
bool IsShortcutFileName(std::string_view fileName);

}  // namespace quillet
