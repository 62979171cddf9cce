#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "card_table.h"
#include "store_error.h"

namespace quillet {

// How an incoming category's cards go into an existing one of the same name: by name, each incoming card
// compared with the existing cards only. A name found is replaced (all three fields) when overwriting and
// skipped otherwise; a name not found is added at the end, in incoming order.
struct MergeCounts {
    int added = 0;
    int overwritten = 0;
};
// `replaced`, when given, receives the existing cards that were overwritten, as they were.
MergeCounts MergeCards(CardTable& existing, const CardTable& incoming, bool overwrite, CardTable* replaced = nullptr);

struct ImportOptions {
    bool overwrite = false;
    // Everything but the writing: the log is exactly the one a real import would give.
    bool dryRun = false;
};

enum class ImportEnd {
    Finished,    // all four sections were read
    CannotOpen,  // "导入文件不能打开！": nothing was read
    BadHeader,   // "导入文件文件格式非法！不能读出！": nothing was read
    Failed,      // stopped at a damaged block, an unreadable category or a failed write; `error` says which
};

struct ImportOutcome {
    ImportEnd end = ImportEnd::Finished;
    StoreError error;
    // Category files replaced or created (in a dry run: that would be); a category that gains nothing is left
    // as it is.
    int filesWritten = 0;
};

// What the user is told when an import ends: empty when it finished, else the reason (UTF-8).
std::string ImportEndMessage(const ImportOutcome& outcome);

// One log line, stored text (code page 936); a line is given only once its file was written.
using ImportLog = std::function<void(const std::string& line)>;

// Merges a backup file into the data folder: each block into the first category of its library with that
// name (in file order, categories created by this import included), or into a new category under the first
// free number. Each file is replaced crash-safely, so an interrupted import leaves every file whole and running
// it again gives the state of one uninterrupted import.
ImportOutcome ImportBackup(const std::filesystem::path& dataFolder, const std::filesystem::path& backup,
                           const ImportOptions& options, const ImportLog& log);

}  // namespace quillet
