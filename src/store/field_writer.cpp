#include "field_writer.h"

namespace quillet {
namespace {

void AppendLittleEndian(char* out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

void FieldWriter::WriteInt32(std::int32_t value) {
    char bytes[4];
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(value), 4);
    m_sink.Write(std::string_view(bytes, 4));
}

void FieldWriter::WriteString(std::string_view value) {
    const std::uint64_t n = value.size();
    char prefix[7];
    std::size_t prefixLength = 0;
    if (n < 0xFF) {
        prefix[0] = static_cast<char>(n);
        prefixLength = 1;
    } else if (n < 0xFFFE) {
        prefix[0] = static_cast<char>(0xFF);
        AppendLittleEndian(prefix + 1, n, 2);
        prefixLength = 3;
    } else {
        prefix[0] = static_cast<char>(0xFF);
        prefix[1] = static_cast<char>(0xFF);
        prefix[2] = static_cast<char>(0xFF);
        AppendLittleEndian(prefix + 3, n, 4);
        prefixLength = 7;
    }
    m_sink.Write(std::string_view(prefix, prefixLength));
    m_sink.Write(value);
}

}  // namespace quillet
