#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "byte_sink.h"
#include "store_error.h"

namespace quillet {

// Where a card's content sits in its category file: the whole field, prefix included, in the form the writer
// gives it, so copying these bytes writes exactly what encoding the content again would.
struct StoredSpan {
    std::uint64_t offset = 0;
    std::uint64_t bytes = 0;
};

// An open category file whose card contents are read only when asked for. The file stays open, so a later
// replacement of its name (every save is one) does not change what is read; a change of the file itself is
// noticed and refused.
class StoredContents final {
public:
    // Takes over an open descriptor of the file.
    StoredContents(int fd, std::filesystem::path file);
    ~StoredContents();
    StoredContents(const StoredContents&) = delete;
    StoredContents& operator=(const StoredContents&) = delete;

    // The content the span holds, as stored text.
    StoreError Read(StoredSpan span, std::string& content) const;
    // The span's bytes as they are in the file.
    StoreError CopyTo(StoredSpan span, ByteSink& sink) const;
    // Refused when the file was written to since it was read.
    StoreError CheckUnchanged() const;

private:
    StoreError ReadBytes(StoredSpan span, std::string& bytes) const;

    int m_fd;
    std::filesystem::path m_file;
    std::uint64_t m_size = 0;
    std::int64_t m_modified = 0;
};

}  // namespace quillet
