#include "cli/terminal_text.h"

#include <algorithm>
#include <cstdio>

namespace quillet {
namespace {

std::string Hex(const char* format, unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Escapes controls; `keep` says which ASCII controls pass through unchanged.
template <class Keep>
std::string Escaped(std::string_view utf8, bool escapeBackslash, Keep&& keep) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            out += Hex("\\u%04x", static_cast<unsigned char>(utf8[++i]));
        } else if (c == '\\' && escapeBackslash) {
            out += "\\\\";
        } else if ((c < 0x20 || c == 0x7F) && !keep(c)) {
            switch (c) {
                case '\n':
                    out += "\\n";
                    break;
                case '\t':
                    out += "\\t";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                default:
                    out += Hex("\\x%02x", c);
            }
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

void AppendEscapedName(std::string_view utf8, std::string& out) {
    // Most names need nothing: then they are copied as they are.
    const bool plain = std::none_of(utf8.begin(), utf8.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || byte == '\\' || byte == 0xC2;
    });
    if (plain) {
        out += utf8;
        return;
    }
    out += Escaped(utf8, true, [](unsigned char) { return false; });
}

std::string EscapedName(std::string_view utf8) {
    std::string out;
    AppendEscapedName(utf8, out);
    return out;
}

std::string ShownText(std::string_view utf8, bool raw) {
    std::string text;
    if (raw) {
        text = utf8;
    } else {
        text.reserve(utf8.size());
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')) {
                text += utf8[i];
            }
        }
    }
    return Escaped(text, false, [raw](unsigned char c) { return c == '\n' || c == '\t' || (raw && c == '\r'); });
}

std::string StoredLineEnds(std::string_view utf8, bool raw) {
    if (raw) {
        return std::string(utf8);
    }
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 16);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) {
            out += '\r';
        }
        out += utf8[i];
    }
    return out;
}

}  // namespace quillet
