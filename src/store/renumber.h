#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <vector>

#include "store_error.h"

namespace quillet {

// The journal that makes renumbering survive a crash; its name matches no library's pattern.
inline constexpr std::string_view kRenumberJournalName = "Quillet.rnm";

enum class RenumberStep {
    WriteJournal,
    MoveAside,     // index: the entry whose file gets the renumbering suffix
    CopyToNumber,  // index: the entry copied to its new number
    MarkCopied,
    RemoveOld,  // index: the entry whose suffixed file is removed
    RemoveJournal,
};

// Called before every change on disk. Returning false makes that change fail as a system call would; tests
// also throw from it to stop the work where a crash would.
using RenumberProbe = std::function<bool(RenumberStep step, std::size_t index)>;

// Gives the listed category files of a library the numbers 1, 2, 3, ... in the order given. The names inside
// the files are not touched. Until the copies are complete a failure puts every file back where it was;
// after that the new order stands. Refuses a list that would overwrite a category file it does not name.
StoreError RenumberCategoryFiles(const std::filesystem::path& dataFolder, int library,
                                 const std::vector<std::filesystem::path>& order, const RenumberProbe& probe = {});

// Finishes or undoes a renumbering that a crash interrupted, and removes leftover temporary files.
// Run at start-up while holding the single-instance lock.
StoreError RecoverInterruptedWork(const std::filesystem::path& dataFolder);

}  // namespace quillet
