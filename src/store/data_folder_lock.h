#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "store_error.h"

namespace quillet {

// Kept inside the data folder; no library's file pattern matches it.
inline constexpr std::string_view kDataLockName = "Quillet.lock";

// The one-writer lock of a data folder: an advisory lock on a file inside the folder itself, so every process
// that writes the same folder sees it, whatever its session, user or environment. The holder writes who it is
// into the file, so a refusal can name it. The system drops the lock when the holder ends in any way.
class DataFolderLock final {
public:
    DataFolderLock() = default;
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    enum class Hold {
        Brief,     // one command: others may wait for it
        WholeRun,  // a program for as long as it runs: waiting for it is pointless
    };

    // Takes the lock, waiting up to `patience` for a brief holder to finish. The folder must exist. `holder`
    // says who we are, in the user's words ("青榆资料夹", "quillet-cli add").
    StoreError Acquire(const std::filesystem::path& dataFolder, std::string_view holder, Hold hold = Hold::Brief,
                       std::chrono::milliseconds patience = std::chrono::milliseconds(0));
    bool HeldFor(const std::filesystem::path& dataFolder) const;
    // Still ours: the lock file on disk is the one we locked. A lock file that was removed or replaced behind
    // our back would let another writer in, so it counts as lost.
    StoreError Confirm() const;
    void Release();

    // Who holds the lock of this folder, from what the holder wrote; empty when nobody said.
    static std::string DescribeHolder(const std::filesystem::path& dataFolder, bool* wholeRun = nullptr);

private:
    int m_fd = -1;
    std::filesystem::path m_folder;
};

}  // namespace quillet
