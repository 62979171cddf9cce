#pragma once

#include <string>
#include <string_view>

namespace quillet {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
};

class StringSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override { m_bytes.append(bytes); }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

}  // namespace quillet
