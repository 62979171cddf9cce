#include "field_reader.h"

#include <algorithm>

#include "codec.h"
#include "field_writer.h"

namespace quillet {
namespace {

constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kLongMarker = 0xFFFF;
// Wide strings are converted piece by piece, so their memory stays near the size of the result.
constexpr std::size_t kWideChunkBytes = 64 * 1024;

bool IsHighSurrogate(unsigned char low, unsigned char high) {
    const unsigned unit = low | high << 8;
    return unit >= 0xD800 && unit <= 0xDBFF;
}

}  // namespace

bool FieldReader::Fail(std::string reason) {
    if (m_failure.empty()) {
        m_failure = std::move(reason);
    }
    return false;
}

bool FieldReader::ReadBytes(char* dst, std::size_t n) {
    if (Failed()) {
        return false;
    }
    const std::uint64_t at = m_source.Position();
    if (n > m_source.Remaining()) {
        return Fail("第 " + std::to_string(at) + " 字节处的数据超出了文件末尾");
    }
    if (!m_source.Read(dst, n)) {
        m_readError = true;
        return Fail("第 " + std::to_string(at) + " 字节处读取失败");
    }
    return true;
}

bool FieldReader::ReadInt32(std::int32_t& value) {
    unsigned char bytes[4];
    if (!ReadBytes(reinterpret_cast<char*>(bytes), 4)) {
        return false;
    }
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                                      static_cast<std::uint32_t>(bytes[2]) << 16 |
                                      static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
}

bool FieldReader::ReadLength(std::uint64_t& length, bool& wide) {
    unsigned char first = 0;
    if (!ReadBytes(reinterpret_cast<char*>(&first), 1)) {
        return false;
    }
    if (first < 0xFF) {
        length = first;
        return true;
    }
    unsigned char two[2];
    if (!ReadBytes(reinterpret_cast<char*>(two), 2)) {
        return false;
    }
    const std::uint16_t middle = static_cast<std::uint16_t>(two[0] | two[1] << 8);
    if (middle == kWideMarker) {
        wide = true;
        return true;
    }
    if (middle < kLongMarker) {
        length = middle;
        return true;
    }
    std::int32_t full = 0;
    if (!ReadInt32(full)) {
        return false;
    }
    length = static_cast<std::uint32_t>(full);
    return true;
}

bool FieldReader::ReadPrefix(std::uint64_t& bytes, bool& wide, bool* canonical) {
    const std::uint64_t start = m_source.Position();
    wide = false;
    if (!ReadLength(bytes, wide)) {
        return false;
    }
    if (wide) {
        bool nested = false;
        if (!ReadLength(bytes, nested)) {
            return false;
        }
        if (nested) {
            return Fail("第 " + std::to_string(start) + " 字节处的字符串长度格式错误");
        }
        bytes *= 2;
    }
    if (canonical && (wide || m_source.Position() - start != FieldWriter::PrefixLength(bytes))) {
        *canonical = false;
    }
    // Checked before anything is allocated: a damaged length never asks for more memory than the file holds.
    if (bytes > m_source.Remaining()) {
        return Fail("第 " + std::to_string(start) + " 字节处的字符串长度（" + std::to_string(bytes) +
                    " 字节）超出了文件末尾");
    }
    return true;
}

bool FieldReader::ReadString(std::string& value, bool* canonical) {
    // Assigned only once read whole.
    std::string bytes;
    if (!ReadStringInPlace(bytes, canonical)) {
        return false;
    }
    value = std::move(bytes);
    return true;
}

bool FieldReader::ReadStringInPlace(std::string& buffer, bool* canonical) {
    std::uint64_t length = 0;
    bool wide = false;
    if (!ReadPrefix(length, wide, canonical)) {
        return false;
    }
    if (wide) {
        return ReadWide(length / 2, buffer);
    }
    buffer.resize(static_cast<std::size_t>(length));
    return ReadBytes(buffer.data(), buffer.size());
}

bool FieldReader::ReadStringView(std::string_view& view, std::string& scratch, bool* canonical) {
    std::uint64_t length = 0;
    bool wide = false;
    if (!ReadPrefix(length, wide, canonical)) {
        return false;
    }
    if (wide) {
        if (!ReadWide(length / 2, scratch)) {
            return false;
        }
        view = scratch;
        return true;
    }
    // The prefix check has made sure the bytes are there.
    if (const char* inPlace = m_source.TakeInPlace(static_cast<std::size_t>(length))) {
        view = std::string_view(inPlace, static_cast<std::size_t>(length));
        return true;
    }
    scratch.resize(static_cast<std::size_t>(length));
    if (!ReadBytes(scratch.data(), scratch.size())) {
        return false;
    }
    view = scratch;
    return true;
}

bool FieldReader::SkipString(bool* canonical) {
    const std::uint64_t start = m_source.Position();
    std::uint64_t length = 0;
    bool wide = false;
    if (!ReadPrefix(length, wide, canonical)) {
        return false;
    }
    if (!m_source.Skip(length)) {
        m_readError = true;
        return Fail("第 " + std::to_string(start) + " 字节处读取失败");
    }
    return true;
}

bool FieldReader::ReadWide(std::uint64_t units, std::string& value) {
    std::string result;
    std::string chunk;
    std::uint64_t left = units * 2;
    while (left > 0) {
        const std::size_t carried = chunk.size();
        const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(left, kWideChunkBytes));
        chunk.resize(carried + take);
        if (!ReadBytes(chunk.data() + carried, take)) {
            return false;
        }
        left -= take;
        // A surrogate pair split between two pieces is converted with the next piece.
        std::string carry;
        const std::size_t size = chunk.size();
        if (left > 0 && size >= 2 &&
            IsHighSurrogate(static_cast<unsigned char>(chunk[size - 2]), static_cast<unsigned char>(chunk[size - 1]))) {
            carry = chunk.substr(size - 2);
            chunk.resize(size - 2);
        }
        result += Utf16LeToStoredText(chunk);
        chunk = std::move(carry);
    }
    value = std::move(result);
    return true;
}

}  // namespace quillet
