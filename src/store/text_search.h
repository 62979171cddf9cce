#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The length of the character that starts the text, in code page 936 with GB18030's four-byte sequences: a
// lead byte and the byte after it count as one character, a lead byte, a digit, a lead byte and a digit as one.
std::size_t CharacterLength(std::string_view text);

// The first place the bytes of the text occur, or nullptr; a plain byte search, as memmem but faster for the
// short texts people search for.
const char* FindText(const char* begin, const char* end, std::string_view text);

// Whether the field holds the text, byte for byte and case-sensitive, starting at a character boundary: never
// inside a double-byte or four-byte character. An empty field holds no non-empty text.
bool ContainsText(std::string_view field, std::string_view text);
// The same, when the first place the bytes occur in the field is known already (nullptr: nowhere).
bool ContainsTextFrom(std::string_view field, std::string_view text, const char* candidate);

// What a search looks for: one text, or with `allWords` each blank-separated word of it; with `ignoreCase`
// ASCII letters match either case.
class TextMatcher final {
public:
    TextMatcher(std::string_view text, bool ignoreCase, bool allWords);

    std::size_t WordCount() const { return m_words.size(); }
    const std::string& Word(std::size_t word) const { return m_words[word]; }
    bool Contains(std::string_view field, std::size_t word) const;

private:
    std::vector<std::string> m_words;
    bool m_ignoreCase;
    mutable std::string m_folded;
};

}  // namespace quillet
