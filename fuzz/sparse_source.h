#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "store/byte_source.h"

namespace quillet::fuzz {

// The bytes followed by zeros up to a large size, as a sparse file on disk reads: big counts and lengths then
// look possible, so the reader must bound what it allocates by more than the file's size.
class SparseSource final : public ByteSource {
public:
    SparseSource(std::string_view bytes, std::uint64_t size) : m_bytes(bytes), m_size(size) {}
    bool Read(char* dst, std::size_t n) override {
        if (n > Remaining()) {
            return false;
        }
        const std::size_t real =
            m_position < m_bytes.size() ? std::min<std::size_t>(n, m_bytes.size() - m_position) : 0;
        std::memcpy(dst, m_bytes.data() + m_position, real);
        std::memset(dst + real, 0, n - real);
        m_position += n;
        return true;
    }
    std::uint64_t Remaining() const override { return m_size - m_position; }
    std::uint64_t Position() const override { return m_position; }

private:
    std::string_view m_bytes;
    std::uint64_t m_size;
    std::uint64_t m_position = 0;
};

}  // namespace quillet::fuzz
