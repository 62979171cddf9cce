#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/bookmarks_file.h"

namespace {

bool SameSites(const std::vector<quillet::FavoriteSite>& a, const std::vector<quillet::FavoriteSite>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].address != b[i].address) {
            return false;
        }
    }
    return true;
}

}  // namespace

// Any bytes as a bookmarks file; what is read, written as the export writes it, reads back as the same folders
// and sites.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const quillet::FavoritesTree tree =
        quillet::ParseBookmarks(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<quillet::BookmarksCategory> categories;
    for (const quillet::FavoritesTree::Folder& folder : tree.folders) {
        categories.push_back({folder.name, folder.sites});
    }
    const quillet::FavoritesTree again = quillet::ParseBookmarks(quillet::WriteBookmarks(categories));
    if (!again.rootSites.empty() || again.folders.size() != tree.folders.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < tree.folders.size(); ++i) {
        if (again.folders[i].name != tree.folders[i].name ||
            !SameSites(again.folders[i].sites, tree.folders[i].sites)) {
            std::abort();
        }
    }
    return 0;
}
