#include "byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quillet {

bool ByteSource::Skip(std::uint64_t n) {
    char scratch[4096];
    while (n > 0) {
        const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(n, sizeof scratch));
        if (!Read(scratch, take)) {
            return false;
        }
        n -= take;
    }
    return true;
}

bool MemorySource::Skip(std::uint64_t n) {
    if (n > Remaining()) {
        return false;
    }
    m_position += static_cast<std::size_t>(n);
    return true;
}

const char* MemorySource::TakeInPlace(std::size_t n) {
    if (n > Remaining()) {
        return nullptr;
    }
    const char* at = m_bytes.data() + m_position;
    m_position += n;
    return at;
}

bool MemorySource::Read(char* dst, std::size_t n) {
    if (n > Remaining()) {
        return false;
    }
    if (n > 0) {
        std::memcpy(dst, m_bytes.data() + m_position, n);
    }
    m_position += n;
    return true;
}

FileSource::~FileSource() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

StoreError FileSource::Open(const std::filesystem::path& file) {
    // Opened without blocking, then checked: a FIFO or device named like one of our files must not hang us.
    m_fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        return StoreError::FromErrno(StoreErrorKind::CannotOpen, file, errno);
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        return StoreError::FromErrno(StoreErrorKind::CannotOpen, file, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return StoreError::FromErrno(StoreErrorKind::CannotOpen, file, EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        return StoreError{StoreErrorKind::CannotOpen, file, "这不是普通文件"};
    }
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    m_size = static_cast<std::uint64_t>(info.st_size);
    return {};
}

int FileSource::DuplicateDescriptor() const { return ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0); }

bool FileSource::Read(char* dst, std::size_t n) {
    if (n > Remaining()) {
        return false;
    }
    std::size_t done = 0;
    while (done < n) {
        const std::size_t buffered = m_buffer.size() - m_bufferPos;
        if (buffered > 0) {
            const std::size_t take = std::min(buffered, n - done);
            std::memcpy(dst + done, m_buffer.data() + m_bufferPos, take);
            m_bufferPos += take;
            done += take;
            continue;
        }
        const std::size_t wanted = n - done;
        // A large field goes straight into its destination; small ones come from the buffer.
        const bool direct = wanted >= kBufferSize;
        if (!direct && m_buffer.size() != kBufferSize) {
            m_buffer.resize(kBufferSize);
        }
        char* target = direct ? dst + done : m_buffer.data();
        const std::size_t capacity = direct ? wanted : kBufferSize;
        const ssize_t got = ::read(m_fd, target, capacity);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            m_readErrno = got < 0 ? errno : 0;
            m_buffer.clear();
            m_bufferPos = 0;
            return false;
        }
        if (direct) {
            done += static_cast<std::size_t>(got);
        } else {
            m_buffer.resize(static_cast<std::size_t>(got));
            m_bufferPos = 0;
        }
    }
    m_position += n;
    return true;
}

bool FileSource::Skip(std::uint64_t n) {
    if (n > Remaining()) {
        return false;
    }
    const std::uint64_t buffered = m_buffer.size() - m_bufferPos;
    if (n <= buffered) {
        m_bufferPos += static_cast<std::size_t>(n);
        m_position += n;
        return true;
    }
    const std::uint64_t beyond = n - buffered;
    if (::lseek(m_fd, static_cast<off_t>(beyond), SEEK_CUR) < 0) {
        m_readErrno = errno;
        return false;
    }
    m_buffer.clear();
    m_bufferPos = 0;
    m_position += n;
    return true;
}

bool CopyRest(FileSource& source, ByteSink& sink) {
    std::string chunk;
    while (source.Remaining() > 0) {
        chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(source.Remaining(), 1 << 20)));
        if (!source.Read(chunk.data(), chunk.size())) {
            return false;
        }
        sink.Write(chunk);
    }
    return true;
}

StoreError ReadWholeFile(const std::filesystem::path& file, std::string& bytes) {
    FileSource source;
    if (StoreError error = source.Open(file)) {
        return error;
    }
    bytes.resize(source.Remaining());
    if (!source.Read(bytes.data(), bytes.size())) {
        bytes.clear();
        return StoreError::FromErrno(StoreErrorKind::CannotRead, file, source.ReadErrno() ? source.ReadErrno() : EIO);
    }
    return {};
}

}  // namespace quillet
