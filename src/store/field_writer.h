#pragma once

#include <cstdint>
#include <string_view>

#include "byte_sink.h"

namespace quillet {

// Writes the two field types; strings always in the 8-bit form with the shortest length prefix.
class FieldWriter final {
public:
    explicit FieldWriter(ByteSink& sink) : m_sink(sink) {}

    void WriteInt32(std::int32_t value);
    void WriteString(std::string_view value);

    // The length of the prefix this writer gives a string of n bytes: 1, 3 or 7.
    static std::size_t PrefixLength(std::uint64_t n) { return n < 0xFF ? 1 : n < 0xFFFE ? 3 : 7; }

private:
    ByteSink& m_sink;
};

}  // namespace quillet
