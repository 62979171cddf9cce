#pragma once

#include <filesystem>
#include <string_view>

namespace quillet {

inline constexpr std::string_view kInstanceLockName = "QuilletArchive";

// The single-instance lock of one desktop: an advisory lock on a file in the user's runtime folder. The system
// drops it when the holder ends in any way, so a crashed program never keeps the next one from starting. It only
// keeps a second window from opening; the data itself is guarded by the data folder's own lock.
class InstanceLock final {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds it.
    bool TryAcquire();
    bool Held() const { return m_fd >= 0; }
    void Release();

    // $XDG_RUNTIME_DIR, or a per-user folder in the temporary folder where that is not set.
    static std::filesystem::path LockFilePath();
    // Exists, is a folder and not a link, belongs to us and is closed to everyone else.
    static bool IsPrivateFolder(const std::filesystem::path& folder);

private:
    int m_fd = -1;
};

}  // namespace quillet
