#include "codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <vector>

namespace quillet {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

class Converter final {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns the number of input bytes consumed. Stops at the first sequence the
    // target cannot hold or the source does not allow, which is then the caller's to handle.
    size_t Convert(std::string_view in, std::string& out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        while (inLeft > 0) {
            const size_t oldSize = out.size();
            const size_t room = std::max<size_t>(inLeft * 2, 16);
            out.resize(oldSize + room);
            char* outPtr = out.data() + oldSize;
            size_t outLeft = room;
            const size_t result = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.resize(out.size() - outLeft);
            if (result != static_cast<size_t>(-1)) {
                break;
            }
            if (errno != E2BIG) {
                break;
            }
        }
        return in.size() - inLeft;
    }

    bool ConvertWhole(std::string_view in, std::string& out) {
        const size_t oldSize = out.size();
        if (Convert(in, out) == in.size()) {
            return true;
        }
        out.resize(oldSize);
        return false;
    }

private:
    iconv_t m_cd;
};

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 1;
}

// Length of the UTF-8 sequence at the front, or 1 for a byte that starts none: that byte alone is replaced.
size_t ValidUtf8SequenceLength(std::string_view text) {
    const size_t length = Utf8SequenceLength(static_cast<unsigned char>(text.front()));
    if (length > text.size()) {
        return 1;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

// Length of the GB18030 sequence that starts at the front of text, or 0 when it cannot start one.
size_t Gb18030SequenceLength(std::string_view text) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() >= 4 && at(0) >= 0x81 && at(0) <= 0xFE && at(1) >= 0x30 && at(1) <= 0x39 && at(2) >= 0x81 &&
        at(2) <= 0xFE && at(3) >= 0x30 && at(3) <= 0x39) {
        return 4;
    }
    if (text.size() >= 2 && at(0) >= 0x81 && at(0) <= 0xFE && at(1) >= 0x40 && at(1) <= 0xFE && at(1) != 0x7F) {
        return 2;
    }
    return 0;
}

// Characters beyond the BMP have GB18030 codes by arithmetic; iconv would drop some of them (the tag characters).
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr unsigned kSupplementaryLead = 0x90;

void AppendGb18030Supplementary(char32_t c, std::string& out) {
    unsigned offset = static_cast<unsigned>(c - kFirstSupplementary);
    const char b4 = static_cast<char>(0x30 + offset % 10);
    offset /= 10;
    const char b3 = static_cast<char>(0x81 + offset % 126);
    offset /= 126;
    const char b2 = static_cast<char>(0x30 + offset % 10);
    const char b1 = static_cast<char>(kSupplementaryLead + offset / 10);
    out += {b1, b2, b3, b4};
}

void AppendUtf8(char32_t c, std::string& out) {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
}

// The supplementary character of a four-byte GB18030 sequence, or 0 when it codes none.
char32_t DecodeGb18030Supplementary(std::string_view sequence) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(sequence[i]); };
    if (at(0) < kSupplementaryLead) {
        return 0;
    }
    const unsigned offset =
        (((at(0) - kSupplementaryLead) * 10 + (at(1) - 0x30)) * 126 + (at(2) - 0x81)) * 10 + (at(3) - 0x30);
    const char32_t c = kFirstSupplementary + offset;
    return c <= 0x10FFFF ? c : 0;
}

char32_t DecodeUtf8Supplementary(std::string_view sequence) {
    auto at = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(sequence[i]) & 0x3F); };
    const char32_t c = (static_cast<char32_t>(static_cast<unsigned char>(sequence[0]) & 0x07) << 18) | at(1) << 12 |
                       at(2) << 6 | at(3);
    return c >= kFirstSupplementary && c <= 0x10FFFF ? c : 0;
}

enum class Direction { Utf8ToCp936, Utf8ToGb18030, Cp936ToUtf8, Gb18030ToUtf8, Utf16LeToUtf8 };

// One converter per direction and thread, opened once: opening one costs more than converting a name.
Converter& ConverterFor(Direction direction) {
    thread_local Converter converters[] = {
        {"CP936", "UTF-8"}, {"GB18030", "UTF-8"}, {"UTF-8", "CP936"}, {"UTF-8", "GB18030"}, {"UTF-8", "UTF-16LE"},
    };
    return converters[static_cast<int>(direction)];
}

// The double-byte characters of code page 936, decoded once with the converter: most stored text is ASCII and
// these, and a table lookup costs far less than a converter call for every name of a long list.
class DoubleByteTable final {
public:
    static const DoubleByteTable& Get() {
        static const DoubleByteTable table;
        return table;
    }

    // 0 when the two bytes are not one character of code page 936.
    char16_t At(unsigned char lead, unsigned char trail) const {
        if (lead < kFirstLead || lead > kLastLead || trail < kFirstTrail || trail > kLastTrail) {
            return 0;
        }
        return m_codes[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)];
    }

private:
    static constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE, kFirstTrail = 0x40, kLastTrail = 0xFE;
    static constexpr unsigned kTrails = kLastTrail - kFirstTrail + 1;

    DoubleByteTable() : m_codes((kLastLead - kFirstLead + 1) * kTrails, 0) {
        Converter toUtf16("UTF-16LE", "CP936");
        std::string units;
        for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
            // A whole row in one call; a row with gaps (or a code beyond one unit) code by code.
            std::string row;
            for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
                row += static_cast<char>(lead);
                row += static_cast<char>(trail);
            }
            units.clear();
            if (toUtf16.ConvertWhole(row, units) && units.size() == row.size()) {
                for (unsigned i = 0; i < kTrails; ++i) {
                    Store(lead, kFirstTrail + i, units.substr(2 * i, 2));
                }
                continue;
            }
            for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
                units.clear();
                if (toUtf16.ConvertWhole(row.substr(2 * (trail - kFirstTrail), 2), units) && units.size() == 2) {
                    Store(lead, trail, units);
                }
            }
        }
    }

    void Store(unsigned lead, unsigned trail, std::string_view unit) {
        m_codes[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)] =
            static_cast<char16_t>(static_cast<unsigned char>(unit[0]) | static_cast<unsigned char>(unit[1]) << 8);
    }

    std::vector<char16_t> m_codes;
};

// ASCII and double-byte characters through the table; false at the first byte that needs the converter.
// Appends ASCII and double-byte characters through the table; false (and `out` as it was) at the first byte
// that needs the converter.
bool TableToUtf8(std::string_view stored, std::string& out) {
    const DoubleByteTable& table = DoubleByteTable::Get();
    const std::size_t start = out.size();
    // Two bytes never become more than three: the result fits in one allocation.
    out.resize(start + stored.size() * 3 / 2 + 1);
    char* to = out.data() + start;
    const auto* from = reinterpret_cast<const unsigned char*>(stored.data());
    const auto* end = from + stored.size();
    while (from < end) {
        if (*from < 0x80) {
            *to++ = static_cast<char>(*from++);
            continue;
        }
        const char16_t c = from + 1 < end ? table.At(from[0], from[1]) : 0;
        if (c == 0) {
            out.resize(start);
            return false;
        }
        if (c < 0x800) {
            *to++ = static_cast<char>(0xC0 | (c >> 6));
        } else {
            *to++ = static_cast<char>(0xE0 | (c >> 12));
            *to++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *to++ = static_cast<char>(0x80 | (c & 0x3F));
        from += 2;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return true;
}

}  // namespace

std::string ToStoredText(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    Converter& toCp936 = ConverterFor(Direction::Utf8ToCp936);
    Converter& toGb18030 = ConverterFor(Direction::Utf8ToGb18030);
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        // Supplementary characters never go to iconv: it drops some of them silently.
        const size_t plain = std::min(utf8.find_first_of("\xF0\xF1\xF2\xF3\xF4"), utf8.size());
        utf8.remove_prefix(toCp936.Convert(utf8.substr(0, plain), out));
        if (utf8.empty()) {
            break;
        }
        const size_t length = ValidUtf8SequenceLength(utf8);
        if (const char32_t c = length == 4 ? DecodeUtf8Supplementary(utf8) : 0) {
            AppendGb18030Supplementary(c, out);
        } else if (!toGb18030.ConvertWhole(utf8.substr(0, length), out)) {
            toGb18030.ConvertWhole(kReplacementUtf8, out);
        }
        utf8.remove_prefix(length);
    }
    return out;
}

void AppendAsUtf8(std::string_view stored, std::string& out) {
    if (!TableToUtf8(stored, out)) {
        out += ToUtf8(stored);
    }
}

std::string ToUtf8(std::string_view stored) {
    if (IsAscii(stored)) {
        return std::string(stored);
    }
    std::string fast;
    if (TableToUtf8(stored, fast)) {
        return fast;
    }
    Converter& fromCp936 = ConverterFor(Direction::Cp936ToUtf8);
    Converter& fromGb18030 = ConverterFor(Direction::Gb18030ToUtf8);
    std::string out;
    out.reserve(stored.size() * 3 / 2);
    while (!stored.empty()) {
        stored.remove_prefix(fromCp936.Convert(stored, out));
        if (stored.empty()) {
            break;
        }
        const size_t length = Gb18030SequenceLength(stored);
        if (const char32_t c = length == 4 ? DecodeGb18030Supplementary(stored) : 0) {
            AppendUtf8(c, out);
            stored.remove_prefix(length);
        } else if (length > 0 && fromGb18030.ConvertWhole(stored.substr(0, length), out)) {
            stored.remove_prefix(length);
        } else {
            out += kReplacementUtf8;
            stored.remove_prefix(1);
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
        const unsigned char lead = byte(i);
        std::size_t length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (byte(i + k) & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string Utf16LeToStoredText(std::string_view utf16le) {
    utf16le = utf16le.substr(0, utf16le.size() / 2 * 2);
    Converter& toUtf8 = ConverterFor(Direction::Utf16LeToUtf8);
    std::string utf8;
    while (!utf16le.empty()) {
        utf16le.remove_prefix(toUtf8.Convert(utf16le, utf8));
        if (!utf16le.empty()) {
            utf8 += kReplacementUtf8;
            utf16le.remove_prefix(2);
        }
    }
    return ToStoredText(utf8);
}

}  // namespace quillet
