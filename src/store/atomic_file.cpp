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

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : m_target(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

bool AtomicFileWriter::IsTemporaryName(std::string_view fileName) {
    return fileName.starts_with(kTemporaryPrefix) && fileName.ends_with(kTemporarySuffix);
}

StoreError AtomicFileWriter::Open() {
    mode_t mode = 0644;
    struct stat existing {};
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

StoreError AtomicFileWriter::Commit() {
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
    if (m_writeErrno == 0 && std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        m_writeErrno = errno;
    }
    if (m_writeErrno != 0) {
        const int error = m_writeErrno;
        Discard();
        return StoreError::FromErrno(StoreErrorKind::CannotWrite, m_target, error);
    }
    m_temporary.clear();
    SyncFolder(m_target.has_parent_path() ? m_target.parent_path() : ".");
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

StoreError WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    AtomicFileWriter writer(target);
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
