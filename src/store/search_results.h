#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "byte_sink.h"
#include "byte_source.h"
#include "card_table.h"
#include "store_error.h"

namespace quillet {

// The results of the last search, kept in the data folder between runs: the search text, the number of
// records and the records (name, content, address), in the category files' field encoding, with no header.
inline constexpr std::string_view kSearchResultsFileName = "Quillet.sch";

void WriteSearchResults(ByteSink& sink, std::string_view searchText, const CardTable& results);
// All or nothing: a damaged or truncated file, or one that claims more than it holds, leaves both untouched.
// The records may take at most `memoryBudget` bytes; 0 for the default, which scales with the file.
StoreError ReadSearchResults(ByteSource& source, const std::filesystem::path& file, std::string& searchText,
                             CardTable& results, std::uint64_t memoryBudget = 0);

// A missing file is no error: there were no results yet.
StoreError LoadSearchResults(const std::filesystem::path& file, std::string& searchText, CardTable& results);
// Replaces the file crash-safely.
StoreError SaveSearchResults(const std::filesystem::path& file, std::string_view searchText, const CardTable& results);

}  // namespace quillet
