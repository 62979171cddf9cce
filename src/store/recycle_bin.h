#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "card_table.h"
#include "store_error.h"

namespace quillet {

// What a deletion took, kept in the data folder's recycle bin.
struct TrashItem {
    enum class Kind { Category, Cards };

    std::string id;  // the time of the deletion and a sequence number: "1765474000-0001"
    Kind kind = Kind::Cards;
    int library = 0;
    std::string originalFile;             // a category's file name in the data folder
    std::optional<std::size_t> position;  // a card's place in its category
    std::string categoryName;             // stored text
    std::vector<std::string> cardNames;
    std::int64_t deletedAt = 0;  // seconds since the epoch
    std::uint64_t bytes = 0;
    std::filesystem::path file;
    StoreError error;  // the bin's file is damaged: listed, never restored
};

struct RestoreOutcome {
    std::filesystem::path file;  // the category file restored into
    std::string categoryName;    // stored text, as restored
    std::vector<std::string> cardNames;
    bool cardsOnly = false;  // cards went back into a category, not a category as a whole
};

// The recycle bin: a folder in the data folder that no library's pattern matches. A deleted category's file is
// moved there whole, in one rename; deleted cards are written there as a category file of their own before
// their category lets them go. A crash at any moment leaves what was deleted in its place or in the bin.
class RecycleBin final {
public:
    static constexpr std::string_view kFolderName = "Quillet.trash";
    static constexpr auto kKeptFor = std::chrono::hours(24 * 30);
    static constexpr std::uint64_t kLargestSize = 256ull << 20;

    explicit RecycleBin(std::filesystem::path dataFolder);

    std::filesystem::path Folder() const { return m_dataFolder / kFolderName; }

    // Moves a category file of that library into the bin.
    StoreError TrashCategory(const std::filesystem::path& categoryFile, int library, std::string* id = nullptr);
    // Keeps these cards of a category; write the category without them only after this succeeded. A single
    // card remembers its place, so that it goes back there.
    StoreError TrashCards(int library, const std::string& categoryName, const CardTable& cards,
                          std::string* id = nullptr, std::optional<std::size_t> position = std::nullopt);

    // Newest first. Without `readContents` only what the file names say (and the size) is filled in.
    std::vector<TrashItem> List(bool readContents = true) const;
    // The item of that id, found by its file name alone.
    bool Holds(const std::string& id) const { return Find(id, false).has_value(); }
    // A category goes back under its file name, or the library's first free number when that is taken, and
    // under its name, or beside a category that took it meanwhile ("name（恢复）"); cards go back to the end of
    // their category (made again when it is gone), a card whose name is taken beside it the same way.
    StoreError Restore(const std::string& id, RestoreOutcome* outcome = nullptr);
    StoreError Empty();
    // Items older than kKeptFor go, then the oldest until the bin holds at most kLargestSize.
    void Expire(std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

private:
    // Gives a new item the first id of this second that no item has; `place` puts it there, and its error for
    // a name taken meanwhile (EEXIST) means: try the next id.
    StoreError AddItem(const std::function<StoreError(const std::string& id)>& place,
                       const std::filesystem::path& about, std::string* id);
    static std::optional<TrashItem> ItemOf(const std::filesystem::directory_entry& entry);
    static void ReadContents(TrashItem& item);
    std::optional<TrashItem> Find(const std::string& id, bool readContents) const;

    std::filesystem::path m_dataFolder;
};

}  // namespace quillet
