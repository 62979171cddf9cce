#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "category_file.h"
#include "store_error.h"

namespace quillet {

inline constexpr std::string_view kDataFolderName = "Qu_data";
// Marks a category file that is being renumbered.
inline constexpr std::string_view kRenumberSuffix = ".!!!";

std::filesystem::path DataFolderOf(const std::filesystem::path& programFolder);

// Creates the folder itself, not its parents.
StoreError CreateFolder(const std::filesystem::path& folder);

// "001" to "099" padded to three digits, plain from 100 on.
std::string PaddedCategoryNumber(int number);

// The library prefix followed by anything, except the renumbering and temporary names.
bool IsCategoryFileName(int library, std::string_view fileName);

// The category files of a library in ascending byte order of their names; empty when the folder is missing.
// A folder that exists but cannot be listed is an error, never an empty library.
std::vector<std::filesystem::path> CategoryFiles(const std::filesystem::path& dataFolder, int library,
                                                 StoreError* listError = nullptr);

// Category files that a renumbering set aside and did not put back, in name order.
std::vector<std::filesystem::path> SetAsideFiles(const std::filesystem::path& dataFolder,
                                                 StoreError* listError = nullptr);

// Gives a set-aside file its name back, or the library's first free number when that name is taken again.
// Returns the file's name now.
StoreError RestoreSetAsideFile(const std::filesystem::path& setAside, std::filesystem::path& restored);

std::filesystem::path CategoryFilePath(const std::filesystem::path& dataFolder, int library, int number);

// The first numbered file name that does not exist yet.
std::filesystem::path FirstFreeCategoryPath(const std::filesystem::path& dataFolder, int library);

struct CategoryInfo {
    std::filesystem::path file;
    std::string name;  // stored text
    std::int32_t cardCount = 0;
    StoreError error;  // set when the header could not be read; name and count are then what was read, if any
};

// Every category file of a library read in header-only mode, in list order. Files that fail are in the list
// with their error; callers decide whether to show or skip them.
std::vector<CategoryInfo> ReadCategoryList(const std::filesystem::path& dataFolder, int library, HeaderCheck check,
                                           StoreError* listError = nullptr);

}  // namespace quillet
