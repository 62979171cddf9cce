#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "card_record.h"
#include "card_table.h"
#include "category_append.h"
#include "category_file.h"
#include "data_folder.h"
#include "data_folder_lock.h"
#include "libraries.h"
#include "renumber.h"
#include "store_error.h"

namespace quillet {

// The category and card last open in one library (rows 0 to 3) or in the search results (row 4).
struct LibraryState {
    std::string categoryName;
    std::string cardName;
    std::string categoryPath;  // full path of the category file, empty if none
};

// The integers the windows share as switches.
struct SharedFlags {
    bool cardModified = false;
    bool reloadOnPaint = false;
    bool rootOpen = false;
    bool noSavedState = true;
    bool alwaysOnTop = false;
    bool dataBarVisible = true;
    bool captureWindowOpen = false;
};

enum class CardNameCheck { Free, Taken, Unreadable };
enum class CategoryNameCheck { Free, Taken, Unreadable };

// The category whose cards are in the open table. Replaced as a whole: a file and its stored name, with what
// the file looked like when we read or wrote it. Only a category read whole is ever open, so it may be written
// back.
struct OpenCategory {
    std::filesystem::path file;  // empty: none open
    std::string storedName;
    struct Stamp {
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modified = 0;
        bool operator==(const Stamp&) const = default;
    } stamp;

    bool IsOpen() const { return !file.empty(); }
};

// The one shared state of the program: which library, category and card are current, the open category's
// cards, the search results and the remembered rows. Every window works on the one instance the application
// owns; tests make their own in a temporary folder.
class CardStore final {
public:
    explicit CardStore(std::filesystem::path programFolder = {});
    CardStore(const CardStore&) = delete;
    CardStore& operator=(const CardStore&) = delete;

    const std::filesystem::path& ProgramFolder() const { return m_programFolder; }
    void SetProgramFolder(std::filesystem::path folder) { m_programFolder = std::move(folder); }

    std::filesystem::path CategoryFolder() const;
    // Failure is left to later file operations, which report it with the file's name.
    void EnsureDataFolder() const;
    // Each of these answers nothing for an index outside 0 to 3.
    std::optional<std::string> CategoryPattern(int library) const;
    std::optional<std::filesystem::path> CategoryFileName(int library, int number) const;
    std::optional<std::filesystem::path> NewCategoryPath(int library) const;
    // Empty for an index outside 0 to 3.
    std::vector<CategoryInfo> ListCategories(int library, HeaderCheck check = HeaderCheck::Skip) const;

    // No category of the current library has this name (byte for byte). A folder or file that cannot be read
    // makes the answer "cannot tell", never "free": a duplicate must not slip through.
    bool IsCategoryNameFree(const std::string& candidate) const;
    CategoryNameCheck CheckCategoryName(const std::string& candidate, StoreError* readError = nullptr) const;
    // Reloads the open category from its file, then looks for the name. With nothing open the answer is
    // Unreadable.
    bool IsCardNameFree(const std::string& candidate);
    CardNameCheck CheckCardName(const std::string& candidate, StoreError* readError = nullptr);

    // The one-writer lock of the data folder. The program holds it for its whole run, the tool for one command.
    StoreError AcquireDataLock(std::string_view holder, DataFolderLock::Hold hold = DataFolderLock::Hold::Brief,
                               std::chrono::milliseconds patience = {});
    bool HoldsDataLock() const { return m_lock.HeldFor(CategoryFolder()); }
    void ReleaseDataLock() { m_lock.Release(); }
    // Finishes an interrupted renumbering and removes stale temporary files; needs the lock.
    StoreError RecoverInterruptedWork();

    // The open category. Opening reads the file whole into the open table; it is accepted only as a category
    // file of the current library inside the data folder. A failed open leaves nothing open.
    const OpenCategory& Open() const { return m_open; }
    StoreError OpenCategoryFile(const std::filesystem::path& file, HeaderCheck check);
    // This file is the open category, read whole and unchanged on disk since: reading it again would give the
    // same table.
    bool IsOpenAndUnchanged(const std::filesystem::path& file) const;
    void CloseCategory();
    // Writes the open category with this name and these cards, and makes them the open state. Refused unless
    // a category was read whole, the lock is ours and the file is still what we read.
    StoreError WriteOpenCategory(const std::string& name, const CardTable& cards);
    // Writes this text into the first card of that name (the one a lookup by name shows) of the open category.
    StoreError WriteCardText(const std::string& cardName, const std::string& text);
    // Adds a card at the end of a category of the current library, streaming over the file instead of reading
    // it into the open table; refused like every write without the lock. `nameTaken` says a card of that name
    // is there already and nothing was written.
    StoreError AppendCard(const std::filesystem::path& file, const CardRecord& card, bool& nameTaken);
    // Creates a new, empty category of the current library under its first free number, and opens it.
    StoreError CreateCategory(const std::string& name);
    // The open category's file is gone (deleted by us): nothing may write it back.
    void ForgetDeletedCategory(const std::filesystem::path& file);
    // New numbers 1, 2, 3, ... for the current library's categories, in the order of these files.
    StoreError RenumberCategories(const std::vector<std::filesystem::path>& order, const RenumberProbe& probe = {});

    // Reads a category into the current category name, the card count and (full mode) the open table, without
    // opening it: a table read this way is never written back.
    StoreError LoadCategory(const std::filesystem::path& file, ReadMode mode, HeaderCheck check);

    // Navigation state.
    int currentLibrary = 1;
    std::string currentCategoryName;
    std::string currentCategoryPath;
    std::string selectedCardName;
    CardRecord currentCard;
    std::int32_t cardCount = 0;

    CardTable openTable;
    CardTable searchResults;
    std::array<LibraryState, kLibraryCount + 1> libraryStates;
    SharedFlags flags;

private:
    StoreError CheckWritable(const std::filesystem::path& file) const;
    // CheckWritable, and a file of the current library.
    StoreError CheckOfCurrentLibrary(const std::filesystem::path& file) const;
    // The open category is now this one; the mirrors and the library's remembered row follow it.
    void BecomeOpen(OpenCategory open);
    StoreError EnsureLock();
    static OpenCategory::Stamp StampOf(const std::filesystem::path& file);

    std::filesystem::path m_programFolder;
    OpenCategory m_open;
    DataFolderLock m_lock;
    std::string m_lockHolder = "青榆资料夹";
    DataFolderLock::Hold m_lockHold = DataFolderLock::Hold::WholeRun;
};

}  // namespace quillet
