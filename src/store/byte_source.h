#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "byte_sink.h"
#include "store_error.h"

namespace quillet {

// Bytes read front to back, with the number still to come known in advance, so a reader can refuse a length
// that points beyond the end before it allocates anything.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills dst with exactly n bytes, or returns false (end of data or a read error).
    virtual bool Read(char* dst, std::size_t n) = 0;
    // Passes over n bytes; by default by reading them into a scratch buffer.
    virtual bool Skip(std::uint64_t n);
    // The next n bytes where they already are in memory, passed over; nullptr when the source cannot show them
    // in place (then nothing is consumed).
    virtual const char* TakeInPlace(std::size_t) { return nullptr; }
    virtual std::uint64_t Remaining() const = 0;
    virtual std::uint64_t Position() const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    bool Read(char* dst, std::size_t n) override;
    bool Skip(std::uint64_t n) override;
    const char* TakeInPlace(std::size_t n) override;
    std::uint64_t Remaining() const override { return m_bytes.size() - m_position; }
    std::uint64_t Position() const override { return m_position; }

private:
    std::string_view m_bytes;
    std::size_t m_position = 0;
};

// A file read through a small buffer: memory stays flat however large the file.
class FileSource final : public ByteSource {
public:
    FileSource() = default;
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    StoreError Open(const std::filesystem::path& file);
    bool Read(char* dst, std::size_t n) override;
    // What is buffered is passed over in place; the rest by moving the file position.
    bool Skip(std::uint64_t n) override;
    std::uint64_t Remaining() const override { return m_size - m_position; }
    std::uint64_t Position() const override { return m_position; }
    // A descriptor of the same open file, for reading it later at given offsets; -1 on failure (see errno).
    int DuplicateDescriptor() const;
    // The system error of a failed read, 0 when the data simply ended.
    int ReadErrno() const { return m_readErrno; }

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::uint64_t m_position = 0;
    std::string m_buffer;
    std::size_t m_bufferPos = 0;
    int m_readErrno = 0;
};

// Copies what is left of the source to the sink in large pieces; false on a read error (see ReadErrno).
bool CopyRest(FileSource& source, ByteSink& sink);

// Reads a whole file. Used for small files and by tests.
StoreError ReadWholeFile(const std::filesystem::path& file, std::string& bytes);

}  // namespace quillet
