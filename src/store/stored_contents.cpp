#include "stored_contents.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "byte_source.h"
#include "field_reader.h"

namespace quillet {
namespace {

constexpr std::uint64_t kCopyPiece = 256 * 1024;

bool StatOf(int fd, std::uint64_t& size, std::int64_t& modified) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return false;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}

}  // namespace

StoredContents::StoredContents(int fd, std::filesystem::path file) : m_fd(fd), m_file(std::move(file)) {
    StatOf(m_fd, m_size, m_modified);
}

StoredContents::~StoredContents() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

StoreError StoredContents::CheckUnchanged() const {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    if (!StatOf(m_fd, size, modified)) {
        return StoreError::FromErrno(StoreErrorKind::CannotRead, m_file, errno);
    }
    if (size != m_size || modified != m_modified) {
        return StoreError{StoreErrorKind::Refused, m_file,
                          "类别文件在读出以后被别的程序修改了，卡片内容不能再从中读出。请重新选择这个类别"};
    }
    return {};
}

StoreError StoredContents::ReadBytes(StoredSpan span, std::string& bytes) const {
    if (span.offset > m_size || span.bytes > m_size - span.offset) {
        return StoreError{StoreErrorKind::Damaged, m_file, "卡片内容的位置超出了文件末尾"};
    }
    bytes.resize(static_cast<std::size_t>(span.bytes));
    std::uint64_t done = 0;
    while (done < span.bytes) {
        const ssize_t got = ::pread(m_fd, bytes.data() + done, static_cast<std::size_t>(span.bytes - done),
                                    static_cast<off_t>(span.offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return StoreError::FromErrno(StoreErrorKind::CannotRead, m_file, errno);
        }
        if (got == 0) {
            return StoreError{StoreErrorKind::CannotRead, m_file, "文件比读出时短了"};
        }
        done += static_cast<std::uint64_t>(got);
    }
    return {};
}

StoreError StoredContents::Read(StoredSpan span, std::string& content) const {
    if (StoreError error = CheckUnchanged()) {
        return error;
    }
    std::string field;
    if (StoreError error = ReadBytes(span, field)) {
        return error;
    }
    MemorySource source(field);
    FieldReader reader(source);
    std::string value;
    if (!reader.ReadString(value) || reader.Remaining() != 0) {
        return StoreError{StoreErrorKind::Damaged, m_file, "卡片内容已经损坏"};
    }
    content = std::move(value);
    return {};
}

StoreError StoredContents::CopyTo(StoredSpan span, ByteSink& sink) const {
    std::string piece;
    for (std::uint64_t done = 0; done < span.bytes;) {
        const std::uint64_t take = std::min(kCopyPiece, span.bytes - done);
        if (StoreError error = ReadBytes({span.offset + done, take}, piece)) {
            return error;
        }
        sink.Write(piece);
        done += take;
    }
    return {};
}

}  // namespace quillet
