#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/favorites_tree.h"

namespace quillet {

// The Netscape bookmark format, which every major browser exports and imports. The file is untrusted: read
// in one pass without recursion, entities decoded, any nesting depth, Firefox's "place:" queries left out.
// Links at the top go to the root; a folder at the top collects its links and those of every folder inside it.
FavoritesTree ParseBookmarks(std::string_view html);

inline constexpr std::uint64_t kLargestBookmarksFile = 64ull << 20;

struct BookmarksCategory {
    std::string name;  // stored text
    std::vector<FavoriteSite> sites;
};

// A bookmarks file with one folder per category; every site keeps its description, so that importing the file
// gives the same categories, sites and descriptions back.
std::string WriteBookmarks(const std::vector<BookmarksCategory>& categories);

}  // namespace quillet
