#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace quillet {
namespace {

constexpr std::string_view kTemporaryPrefix = ".quillet-";
constexpr std::string_view kTemporarySuffix = ".tmp";

// Moves the finished file into place without ever replacing a file that appeared meanwhile.
bool PlaceNew(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without that rename: a hard link fails on an existing name just the same.
    if (::link(temporary.c_str(), target.c_str()) != 0) {
        return false;
    }
    ::unlink(temporary.c_str());
    return true;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target, Target kind)
    : m_target(std::move(target)), m_kind(kind) {}

unsigned NewFileMode() {
    // Read from the kernel rather than set and reset, which would race with other threads creating files.
    unsigned mask = 022;
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[128];
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "Umask: %o", &mask) == 1) {
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

bool AtomicFileWriter::IsTemporaryName(std::string_view fileName) {
    return fileName.starts_with(kTemporaryPrefix) && fileName.ends_with(kTemporarySuffix);
}

StoreError AtomicFileWriter::Open() {
    mode_t mode = static_cast<mode_t>(NewFileMode());
    struct stat existing {};
    if (::lstat(m_target.c_str(), &existing) == 0 && m_kind == Target::New) {
        return StoreError::FromErrno(StoreErrorKind::CannotWrite, m_target, EEXIST);
    }
    if (::stat(m_target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            return StoreError::FromErrno(StoreErrorKind::CannotWrite, m_target, EISDIR);
        }
        // Checked on the mode bits, not with access(), so a read-only file is refused for root as well.
        if ((existing.st_mode & 0222) == 0) {
            return StoreError{StoreErrorKind::CannotWrite, m_target, "文件是只读的"};
        }
        mode = existing.st_mode & 07777;
    }
    const std::filesystem::path folder = m_target.has_parent_path() ? m_target.parent_path() : ".";
    std::string pattern = (folder / (std::string(kTemporaryPrefix) + "XXXXXX")).string();
    pattern += kTemporarySuffix;
    m_fd = ::mkstemps(pattern.data(), static_cast<int>(kTemporarySuffix.size()));
    if (m_fd < 0) {
        return StoreError::FromErrno(StoreErrorKind::CannotWrite, m_target, errno);
    }
    m_temporary = pattern;
    ::fchmod(m_fd, mode);
    m_buffer.reserve(kBufferSize);
    return {};
}

void AtomicFileWriter::Write(std::string_view bytes) {
    if (m_fd < 0 || m_writeErrno != 0) {
        return;
    }
    if (m_buffer.size() + bytes.size() > kBufferSize) {
        Flush();
        if (bytes.size() >= kBufferSize) {
            WriteOut(bytes);
            return;
        }
    }
    m_buffer.append(bytes);
}

void AtomicFileWriter::Flush() {
    WriteOut(m_buffer);
    m_buffer.clear();
}

void AtomicFileWriter::WriteOut(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size() && m_writeErrno == 0) {
        const ssize_t written = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno != EINTR) {
                m_writeErrno = errno;
            }
            continue;
        }
        done += static_cast<std::size_t>(written);
    }
}

StoreError AtomicFileWriter::Commit(FolderSync folderSync) {
    if (m_fd < 0) {
        return StoreError::FromErrno(StoreErrorKind::CannotWrite, m_target, EBADF);
    }
    Flush();
    if (m_writeErrno == 0 && ::fsync(m_fd) != 0) {
        m_writeErrno = errno;
    }
    if (::close(m_fd) != 0 && m_writeErrno == 0) {
        m_writeErrno = errno;
    }
    m_fd = -1;
    if (m_writeErrno == 0) {
        const bool placed = m_kind == Target::New ? PlaceNew(m_temporary, m_target)
                                                  : std::rename(m_temporary.c_str(), m_target.c_str()) == 0;
        if (!placed) {
            m_writeErrno = errno;
        }
    }
    if (m_writeErrno != 0) {
        const int error = m_writeErrno;
        Discard();
        return StoreError::FromErrno(StoreErrorKind::CannotWrite, m_target, error);
    }
    m_temporary.clear();
    if (folderSync == FolderSync::Now) {
        SyncFolder(m_target.has_parent_path() ? m_target.parent_path() : ".");
    }
    return {};
}

void AtomicFileWriter::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

StoreError WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                               AtomicFileWriter::Target kind) {
    AtomicFileWriter writer(target, kind);
    if (StoreError error = writer.Open()) {
        return error;
    }
    writer.Write(bytes);
    return writer.Commit();
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace quillet
