#pragma once

#include <array>
#include <string_view>

namespace quillet {

// The four fixed libraries, by tab index. Index 4 is the search results of reading mode: a remembered-state
// row without files.
inline constexpr int kLibraryCount = 4;
inline constexpr int kSearchResultsLibrary = 4;
inline constexpr int kWebLibrary = 3;

struct LibraryInfo {
    std::string_view name;        // shown to the user, UTF-8
    std::string_view filePrefix;  // category file names start with this, dot included
    std::string_view countLabel;  // the summary's label for the card count, UTF-8
};

inline constexpr std::array<LibraryInfo, kLibraryCount> kLibraries{{
    {"编程资料", "Qulan.", "资料卡片数"},
    {"软件资料", "Quuse.", "资料卡片数"},
    {"我的资料", "Quown.", "资料卡片数"},
    {"网络资源", "Quweb.", "收集站点数"},
}};

inline constexpr bool IsLibrary(int library) { return library >= 0 && library < kLibraryCount; }

}  // namespace quillet
