#pragma once

#include <filesystem>
#include <string>

namespace quillet {

// What went wrong with a file of the card store. Errors are values: every read and write returns one.
enum class StoreErrorKind {
    None,
    CannotOpen,   // the file could not be opened for reading
    CannotRead,   // opened, but reading it failed: the device, not the data
    BadHeader,    // the first string is not the category header
    Damaged,      // a length or count points beyond the end, or a field is malformed
    CannotWrite,  // creating, writing, syncing or replacing the file failed
    CannotDelete,
    CannotRename,
    Locked,   // the data folder's lock is held by another writer or could not be taken
    Refused,  // the store would not do it: nothing open, a path outside the data folder, too large
};

struct StoreError {
    StoreErrorKind kind = StoreErrorKind::None;
    std::filesystem::path file;
    std::string reason;  // UTF-8, Chinese, without the file name

    explicit operator bool() const { return kind != StoreErrorKind::None; }

    // A complete UTF-8 message naming the file, for a notice or standard error.
    std::string Message() const;

    static StoreError FromErrno(StoreErrorKind kind, const std::filesystem::path& file, int errorNumber);
};

// The reason for a system error number, in the program's own words.
std::string DescribeErrno(int errorNumber);

}  // namespace quillet
