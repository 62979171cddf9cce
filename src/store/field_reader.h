#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "byte_source.h"

namespace quillet {

// Reads the two field types of the program's files: little-endian 32-bit integers and length-prefixed strings
// (1, 3 or 7 prefix bytes, or the marker 0xFF 0xFFFE for a string of 16-bit characters, which comes back
// converted to stored text). After the first failure every read fails and Failure() says why.
class FieldReader final {
public:
    explicit FieldReader(ByteSource& source) : m_source(source) {}

    bool ReadInt32(std::int32_t& value);
    // `canonical`, when given, is cleared unless the field is in the form the writer gives it (8-bit, shortest
    // prefix); a file of only such fields is rewritten byte for byte by copying it.
    bool ReadString(std::string& value, bool* canonical = nullptr);
    // Reads into the buffer's own memory, for loops that read many strings into one; after a failure the
    // buffer holds anything.
    bool ReadStringInPlace(std::string& buffer, bool* canonical = nullptr);
    // A string without copying it where the source holds it in memory: the view shows the source's bytes, or
    // `scratch` for a string that had to be read or converted (16-bit). Valid until the next read.
    bool ReadStringView(std::string_view& view, std::string& scratch, bool* canonical = nullptr);
    // Passes over a string without keeping it.
    bool SkipString(bool* canonical = nullptr);

    bool Failed() const { return !m_failure.empty(); }
    // The failure came from the device, not from the data: the file is not damaged, it could not be read.
    bool ReadError() const { return m_readError; }
    // UTF-8, Chinese; names the byte offset where the data went wrong.
    const std::string& Failure() const { return m_failure; }
    std::uint64_t Position() const { return m_source.Position(); }
    std::uint64_t Remaining() const { return m_source.Remaining(); }

private:
    bool ReadLength(std::uint64_t& length, bool& wide);
    // The whole prefix of a string: its length in bytes as stored, checked against what is left.
    bool ReadPrefix(std::uint64_t& bytes, bool& wide, bool* canonical);
    bool ReadBytes(char* dst, std::size_t n);
    bool Fail(std::string reason);
    bool ReadWide(std::uint64_t units, std::string& value);

    ByteSource& m_source;
    std::string m_failure;
    bool m_readError = false;
};

}  // namespace quillet
