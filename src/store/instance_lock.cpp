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

bool InstanceLock::TryAcquire() {
    if (Held()) {
        return true;
    }
    const int fd = ::open(LockFilePath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without a place for the lock there is nothing to coordinate with: run rather than refuse.
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
