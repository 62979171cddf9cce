#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "card_record.h"
#include "card_table.h"
#include "category_file.h"
#include "data_folder.h"
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

    // No category of the current library has this name (byte for byte). An unreadable file ends the scan.
    bool IsCategoryNameFree(const std::string& candidate) const;
    // Reloads the open table from the current library's remembered category file, then looks for the name.
    bool IsCardNameFree(const std::string& candidate);
    CardNameCheck CheckCardName(const std::string& candidate, StoreError* readError = nullptr);
    // New numbers 1, 2, 3, ... for the current library's categories, in the order of these files.
    StoreError RenumberCategories(const std::vector<std::filesystem::path>& order, const RenumberProbe& probe = {});

    // Reads a category into the current category name, the card count and (full mode) the open table.
    StoreError LoadCategory(const std::filesystem::path& file, ReadMode mode, HeaderCheck check);
    // Writes the current category name and the open table; the card count becomes the number of cards.
    StoreError SaveCategory(const std::filesystem::path& file);

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
    std::filesystem::path m_programFolder;
};

}  // namespace quillet
