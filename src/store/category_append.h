#pragma once

#include <filesystem>

#include "card_record.h"
#include "store_error.h"

namespace quillet {

// Adds one card at the end of a category file, crash-safely, without building its table: one pass over the file
// looks for the name among the existing cards and checks that every field is in the form the writer gives it;
// the old records are then copied as they are behind a fresh header. A file in any other form (another header,
// 16-bit strings, longer prefixes, bytes after the last card) is read whole and rewritten instead, so the file
// written is byte for byte what a full rewrite makes. A damaged file is refused and left alone.
struct AppendResult {
    StoreError error;
    bool nameTaken = false;  // nothing was written
};
AppendResult AppendCardToFile(const std::filesystem::path& file, const CardRecord& card);

}  // namespace quillet
