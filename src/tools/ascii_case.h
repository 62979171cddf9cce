#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace quillet {

// Equal but for the letter case of ASCII letters, as INI keys, HTML tags and file endings are compared.
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace quillet
