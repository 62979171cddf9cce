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

private:
    ByteSink& m_sink;
};

}  // namespace quillet
