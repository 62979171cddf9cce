#include "tools/shortcut_file.h"

#include <algorithm>
#include <cctype>

#include "tools/ascii_case.h"

namespace quillet {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::optional<std::string> ReadShortcutAddress(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    enum class Section { Other, Shortcut, Default } section = Section::Other;
    std::optional<std::string> url;
    std::optional<std::string> baseUrl;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = Trimmed(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.starts_with('[') && line.ends_with(']')) {
            const std::string_view name = Trimmed(line.substr(1, line.size() - 2));
            section = EqualsIgnoringCase(name, "InternetShortcut") ? Section::Shortcut
                      : EqualsIgnoringCase(name, "DEFAULT")        ? Section::Default
                                                                   : Section::Other;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || section == Section::Other) {
            continue;
        }
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (value.empty()) {
            continue;
        }
        if (section == Section::Shortcut && !url && EqualsIgnoringCase(key, "URL")) {
            url = std::string(value);
        } else if (section == Section::Default && !baseUrl && EqualsIgnoringCase(key, "BASEURL")) {
            baseUrl = std::string(value);
        }
    }
    return url ? url : baseUrl;
}

std::string ShortcutFileBytes(std::string_view address) {
    return "[InternetShortcut]\r\nURL=" + std::string(address) + "\r\n";
}

bool IsShortcutFileName(std::string_view fileName) {
    return fileName.size() > 4 && EqualsIgnoringCase(fileName.substr(fileName.size() - 4), ".url");
}

}  // namespace quillet
