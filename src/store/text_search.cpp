#include "text_search.h"

#include <cstring>

namespace quillet {
namespace {

bool IsLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsDigit(unsigned char byte) { return byte >= 0x30 && byte <= 0x39; }

// ASCII letters lowered where they are characters of their own, never where they are the trail of a
// double-byte character.
void FoldCase(std::string_view text, std::string& folded) {
    folded.assign(text);
    for (std::size_t at = 0; at < folded.size();) {
        const std::size_t length = CharacterLength(std::string_view(folded).substr(at));
        if (length == 1 && folded[at] >= 'A' && folded[at] <= 'Z') {
            folded[at] = static_cast<char>(folded[at] - 'A' + 'a');
        }
        at += length;
    }
}

bool IsBlank(std::string_view text, std::size_t at, std::size_t& length) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte == ' ' || byte == '\t') {
        length = 1;
        return true;
    }
    // The ideographic space of code page 936.
    if (byte == 0xA1 && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) == 0xA1) {
        length = 2;
        return true;
    }
    return false;
}

}  // namespace

std::size_t CharacterLength(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (!IsLead(bytes[0]) || text.size() < 2) {
        return 1;
    }
    if (IsDigit(bytes[1]) && text.size() >= 4 && IsLead(bytes[2]) && IsDigit(bytes[3])) {
        return 4;
    }
    return 2;
}

bool ContainsText(std::string_view field, std::string_view text) {
    if (text.empty()) {
        return true;
    }
    if (field.size() < text.size()) {
        return false;
    }
    const char* const begin = field.data();
    const char* const end = begin + field.size();
    // Character boundaries are found walking from the start, once, as far as the candidates go.
    std::size_t boundary = 0;
    const char* from = begin;
    while (from + text.size() <= end) {
        const void* found = ::memmem(from, static_cast<std::size_t>(end - from), text.data(), text.size());
        if (!found) {
            return false;
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - begin);
        while (boundary < at) {
            boundary += CharacterLength(field.substr(boundary));
        }
        if (boundary == at) {
            return true;
        }
        // The candidate starts inside the character that ends at `boundary`.
        from = begin + boundary;
    }
    return false;
}

TextMatcher::TextMatcher(std::string_view text, bool ignoreCase, bool allWords) : m_ignoreCase(ignoreCase) {
    std::string folded;
    auto add = [&](std::string_view word) {
        if (word.empty()) {
            return;
        }
        if (m_ignoreCase) {
            FoldCase(word, folded);
            m_words.push_back(folded);
        } else {
            m_words.emplace_back(word);
        }
    };
    if (!allWords) {
        add(text);
        return;
    }
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        if (IsBlank(text, at, length)) {
            add(text.substr(start, at - start));
            at += length;
            start = at;
        } else {
            at += CharacterLength(text.substr(at));
        }
    }
    add(text.substr(start));
}

bool TextMatcher::Contains(std::string_view field, std::size_t word) const {
    if (!m_ignoreCase) {
        return ContainsText(field, m_words[word]);
    }
    FoldCase(field, m_folded);
    return ContainsText(m_folded, m_words[word]);
}

}  // namespace quillet
