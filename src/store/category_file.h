#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "atomic_file.h"
#include "byte_sink.h"
#include "byte_source.h"
#include "card_table.h"
#include "store_error.h"

namespace quillet {

inline constexpr std::string_view kCategoryHeader = "QuilletArchive File:";
inline constexpr std::string_view kCategoryVersion = "Ver1.0";

enum class ReadMode {
    HeaderOnly,  // header, version, category name and card count; the cards are not touched
    Full,        // all of it: the cards replace the table's content
    // As Full, but a file's contents stay in the file until a card is asked for; the table keeps the file
    // open. Read from anything but a file, it is Full.
    ContentsOnDemand,
};

enum class HeaderCheck {
    Skip,   // read on whatever the first string says
    Check,  // stop with BadHeader unless the first string is the category header
};

// Where a read leaves what it found. A field is assigned only once it was read whole: after a bad header
// nothing has changed; after damage in the cards the table keeps the records read so far and the card count
// says how many that is.
struct CategoryTarget {
    std::string& categoryName;
    std::int32_t& cardCount;
    CardTable* cards = nullptr;  // needed for every mode but HeaderOnly
    // The most memory the cards may take; 0 for the default, which scales with the file and the machine.
    std::uint64_t memoryBudget = 0;
};

// A few times the file's size, never more than an eighth of the machine's memory: a count and lengths that a
// damaged or sparse file makes up cannot exhaust memory, while every real category fits.
std::uint64_t DefaultMemoryBudget(std::uint64_t fileBytes);

class FieldReader;
// The fields before the cards: header, version, category name and card count (a negative count is none). On
// failure the two targets keep what was read whole so far.
StoreError ReadCategoryHeader(FieldReader& reader, const std::filesystem::path& file, HeaderCheck check,
                              std::string& categoryName, std::int32_t& cardCount);

StoreError ReadCategory(ByteSource& source, const std::filesystem::path& file, ReadMode mode, HeaderCheck check,
                        CategoryTarget target);
// A category without header and version, as a backup file carries it: name, card count and cards, read whole.
StoreError ReadCategoryBlock(FieldReader& reader, const std::filesystem::path& file, CategoryTarget target);
StoreError ReadCategoryFile(const std::filesystem::path& file, ReadMode mode, HeaderCheck check, CategoryTarget target);

// The cards one after another without keeping them, for listings and checks that need no table: `visit` sees
// each card's name and address, its content is passed over. Without a visitor only the structure is checked.
// The card count ends as the number of cards that were whole.
using CardVisitor = std::function<void(const std::string& name, const std::string& address)>;
StoreError ScanCategory(ByteSource& source, const std::filesystem::path& file, HeaderCheck check,
                        std::string& categoryName, std::int32_t& cardCount, const CardVisitor& visit = {});
StoreError ScanCategoryFile(const std::filesystem::path& file, HeaderCheck check, std::string& categoryName,
                            std::int32_t& cardCount, const CardVisitor& visit = {});

// Writes the whole category with the fixed header and version, whatever was read before.
// Fails only for a table whose contents are still in a file that cannot be read or has changed.
StoreError WriteCategory(ByteSink& sink, std::string_view categoryName, const CardTable& cards);
// The same without header and version: the category name, the card count and the cards, as a backup file
// carries a category.
StoreError WriteCategoryBlock(ByteSink& sink, std::string_view categoryName, const CardTable& cards);
// Replaces the file crash-safely; on failure the old file is left as it was.
StoreError WriteCategoryFile(const std::filesystem::path& file, std::string_view categoryName, const CardTable& cards,
                             AtomicFileWriter::FolderSync folderSync = AtomicFileWriter::FolderSync::Now);

}  // namespace quillet
