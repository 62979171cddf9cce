#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "byte_source.h"
#include "card_table.h"
#include "field_reader.h"
#include "libraries.h"
#include "store_error.h"

namespace quillet {

// The backup file: the whole card store in one file, to carry it to another computer. After its header and
// version come four library sections in library order, each a count of category blocks and the blocks; a block
// is a category file less its header and version (the category name, the card count, the cards).
inline constexpr std::string_view kBackupHeader = "QuilletArchive Output File:";
inline constexpr std::string_view kBackupVersion = "Ver1.0";
inline constexpr std::string_view kBackupExtension = ".quo";

// Reads a backup file front to back. Every count and length is checked against the bytes left before anything
// is allocated; after the first failure every read fails.
class BackupReader final {
public:
    // A block's cards may take at most `memoryBudget` bytes; 0 for the default, which scales with the file.
    BackupReader(ByteSource& source, std::filesystem::path file, std::uint64_t memoryBudget = 0)
        : m_fields(source), m_file(std::move(file)), m_memoryBudget(memoryBudget) {}

    // The header (BadHeader unless it is the backup header) and the version, which is not looked at.
    StoreError ReadHeader();
    // A section's number of blocks; a count below 1 is none.
    StoreError ReadSectionCount(std::int32_t& count);
    // The next block; the cards replace the table's content.
    StoreError ReadBlock(std::string& categoryName, CardTable& cards);

private:
    StoreError Failure() const;

    FieldReader m_fields;
    std::filesystem::path m_file;
    std::uint64_t m_memoryBudget;
};

struct ExportOutcome {
    StoreError error;  // the backup could not be written; an older file of that name is untouched
    // Category files left out, each a UTF-8 message naming the file and the reason.
    std::vector<std::string> leftOut;
    std::array<int, kLibraryCount> categories{};  // blocks written per library
    std::uint64_t cards = 0;
};

// Writes every readable category of the data folder into a backup file, crash-safely: a temporary file renamed
// over the target (a symbolic link's target) only once it is complete. A file that is not a category file or
// cannot be read whole is left out and named; the section counts are the blocks written.
ExportOutcome ExportBackup(const std::filesystem::path& dataFolder, const std::filesystem::path& target);

// The name the save dialog gives a file typed without an extension.
std::filesystem::path WithBackupExtension(const std::filesystem::path& chosen);

}  // namespace quillet
