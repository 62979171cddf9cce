#include "instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace quillet {

InstanceLock::~InstanceLock() { Release(); }

std::filesystem::path InstanceLock::LockFilePath() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        return std::filesystem::path(runtime) / kInstanceLockName;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quillet-" + std::to_string(::getuid()));
    ::mkdir(folder.c_str(), 0700);
    return folder / kInstanceLockName;
}

bool InstanceLock::IsPrivateFolder(const std::filesystem::path& folder) {
    // In a shared temporary folder anyone may have made it first: only our own, closed folder will do.
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & 077) == 0;
}

bool InstanceLock::TryAcquire() {
    if (Held()) {
        return true;
    }
    const std::filesystem::path path = LockFilePath();
    if (!IsPrivateFolder(path.parent_path())) {
        // Another user's folder or a link: never touched. The data folder's own lock still keeps the data safe.
        return true;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without a place for this lock the program still runs; the data folder's lock guards the data.
        return true;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void InstanceLock::Release() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

}  // namespace quillet
