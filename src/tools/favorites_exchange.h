#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "store/store_error.h"
#include "tools/favorites_tree.h"

namespace quillet {

// One log line, UTF-8.
using FavoritesLog = std::function<void(const std::string& line)>;

struct FavoritesOutcome {
    int exported = 0;  // shortcut files or bookmarks written
    int added = 0;
    int notOverwritten = 0;
    int overwritten = 0;
    int filesWritten = 0;  // category files created or replaced
    StoreError error;      // the run could not start or stopped; the log says how far it came
};

// The home folder's "Favorites"; the export goes into a folder of its own inside it.
std::filesystem::path DefaultFavoritesFolder(bool forExport);
// A path ending in ".html" or ".htm" (any letter case) is a bookmarks file; anything else a shortcut folder.
bool IsBookmarksFile(const std::filesystem::path& path);
// "~/..." made absolute; an empty path when the result is not absolute.
std::filesystem::path ExpandedFavoritesPath(const std::string& typed);

// The shortcut files of a folder tree. Only real folders are walked (no symbolic link is followed, at most 32
// levels deep) and only regular files are read (at most 64 KB each), in byte order of their names.
FavoritesTree ReadShortcutFolder(const std::filesystem::path& folder, const FavoritesLog& log);

// Every site of the web library into a shortcut folder tree (one folder per category) or a bookmarks file.
// A name that cannot be a file name, an address that would break the shortcut file, and a file that cannot be
// written are each skipped with a log line; nothing is written outside the chosen folder.
FavoritesOutcome ExportFavorites(const std::filesystem::path& dataFolder, const std::filesystem::path& target,
                                 const FavoritesLog& log);

// Sites from a shortcut folder tree or a bookmarks file into the web library: the top ones into the category
// "IE收藏夹未分类别站点", each top-level folder into the category of its name; a site whose name is there
// already is overwritten or left according to `overwrite`. Each category file is written crash-safely; one
// that cannot be read whole is left alone with a log line.
FavoritesOutcome ImportFavorites(const std::filesystem::path& dataFolder, const std::filesystem::path& source,
                                 bool overwrite, const FavoritesLog& log);
FavoritesOutcome ImportFavoritesTree(const std::filesystem::path& dataFolder, const FavoritesTree& tree, bool overwrite,
                                     const FavoritesLog& log);

}  // namespace quillet
