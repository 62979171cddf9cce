#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillet {

// One site found in a browser's favorites; every text is stored text (code page 936).
struct FavoriteSite {
    std::string name;
    std::string address;
    std::optional<std::string> description;  // a bookmarks file's own; else the import says where it came from
};

// What a shortcut folder or a bookmarks file holds, as the import sees it: the sites at the top, and for each
// top-level folder its sites and those of every folder nested in it, in the order met.
struct FavoritesTree {
    struct Folder {
        std::string name;
        std::vector<FavoriteSite> sites;
    };
    std::vector<FavoriteSite> rootSites;
    std::vector<Folder> folders;
};

}  // namespace quillet
