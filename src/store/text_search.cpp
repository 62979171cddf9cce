#include "text_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The length of the character at `at`, read straight from the bytes.
std::size_t CharacterLengthAt(const unsigned char* bytes, std::size_t at, std::size_t size) {
    if (!IsLead(bytes[at]) || at + 1 >= size) {
        return 1;
    }
    if (IsDigit(bytes[at + 1]) && at + 3 < size && IsLead(bytes[at + 2]) && IsDigit(bytes[at + 3])) {
        return 4;
    }
    return 2;
}

// A byte below '0', or between '9' and '@', is never part of a multi-byte character: the next byte starts one.
bool EndsCharacter(unsigned char byte) { return byte < 0x30 || (byte > 0x39 && byte < 0x40); }

// The nearest character start at or before `at` that the bytes alone prove, not before `known`.
std::size_t ProvenBoundary(const unsigned char* bytes, std::size_t known, std::size_t at) {
    for (std::size_t i = at; i > known; --i) {
        if (EndsCharacter(bytes[i - 1])) {
            return i;
        }
    }
    return known;
}

}  // namespace

const char* FindText(const char* begin, const char* end, std::string_view text) {
    const std::size_t length = text.size();
    const auto size = static_cast<std::size_t>(end - begin);
    if (length == 0) {
        return begin;
    }
    if (length > size) {
        return nullptr;
    }
    if (length == 1) {
        return static_cast<const char*>(std::memchr(begin, text[0], size));
    }
    std::size_t at = 0;
#if defined(__SSE2__)
    // Sixteen places at a time, where the first and the last byte of the text both fit; only those are
    // compared whole. Common double-byte characters share lead bytes, so one byte alone would stop too often.
    const __m128i first = _mm_set1_epi8(text.front());
    const __m128i last = _mm_set1_epi8(text.back());
    for (; at + length - 1 + 16 <= size; at += 16) {
        const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + at));
        const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + at + length - 1));
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(atFirst, first), _mm_cmpeq_epi8(atLast, last))));
        while (mask != 0) {
            const auto bit = static_cast<std::size_t>(__builtin_ctz(mask));
            if (std::memcmp(begin + at + bit + 1, text.data() + 1, length - 2) == 0) {
                return begin + at + bit;
            }
            mask &= mask - 1;
        }
    }
#endif
    return static_cast<const char*>(::memmem(begin + at, size - at, text.data(), length));
}

std::size_t CharacterLength(std::string_view text) {
    return text.empty() ? 0 : CharacterLengthAt(reinterpret_cast<const unsigned char*>(text.data()), 0, text.size());
}

bool ContainsText(std::string_view field, std::string_view text) {
    return ContainsTextFrom(field, text, FindText(field.data(), field.data() + field.size(), text));
}

bool ContainsTextFrom(std::string_view field, std::string_view text, const char* candidate) {
    if (text.empty()) {
        return true;
    }
    const char* const begin = field.data();
    const char* const end = begin + field.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(begin);
    // Character boundaries are found walking forward, as far as the candidates go.
    std::size_t boundary = 0;
    while (candidate && candidate + text.size() <= end) {
        const auto at = static_cast<std::size_t>(candidate - begin);
        // Long texts: start the walk at the last blank or ASCII mark before the candidate, not at the start.
        boundary = ProvenBoundary(bytes, boundary, at);
        while (boundary < at) {
            boundary += CharacterLengthAt(bytes, boundary, field.size());
        }
        if (boundary == at) {
            return true;
        }
        // The candidate starts inside the character that ends at `boundary`.
        candidate = FindText(begin + boundary, end, text);
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
