#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace quillet {

inline constexpr std::string_view kTipsFileName = "Quillet.tip";

// The tips file: one tip per line, read in pieces of at most 999 characters. Lines that start with a blank,
// a tab or ";", and empty lines, are skipped; the line feed that ends a tip stays part of it. Bytes are
// returned as stored (code page 936).
class TipFile final {
public:
    bool Open(const std::filesystem::path& file);
    bool IsOpen() const { return m_stream.is_open(); }
    bool Seek(std::uint64_t position);
    std::uint64_t Position();

    // The next tip, going back to the start at the end of the file. Nothing when the file holds no tip at all,
    // or when it cannot be read from its start again.
    std::optional<std::string> NextTip();

private:
    bool ReadPiece(std::string& piece);

    std::ifstream m_stream;
};

// The file's modification time as ctime() writes it: "Www Mmm dd hh:mm:ss yyyy\n"; empty when there is none.
std::string FileTimeStamp(const std::filesystem::path& file);

}  // namespace quillet
