#include "ui/tip_file.h"

#include <sys/stat.h>

#include <ctime>

namespace quillet {
namespace {

constexpr std::size_t kMaxPiece = 999;

bool IsSkipped(const std::string& line) {
    return line.empty() || line[0] == ' ' || line[0] == '\t' || line[0] == '\n' || line[0] == ';';
}

}  // namespace

bool TipFile::Open(const std::filesystem::path& file) {
    // A FIFO or device of that name would block the start; only a regular file is a tips file.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    m_stream.open(file, std::ios::binary);
    return m_stream.is_open();
}

bool TipFile::Seek(std::uint64_t position) {
    m_stream.clear();
    m_stream.seekg(static_cast<std::streamoff>(position));
    return static_cast<bool>(m_stream);
}

std::uint64_t TipFile::Position() {
    m_stream.clear();
    const std::streamoff at = m_stream.tellg();
    return at < 0 ? 0 : static_cast<std::uint64_t>(at);
}

// One line, or the first 999 characters of a longer one, with its line feed; a CR before the line feed is
// dropped as a text-mode read does.
bool TipFile::ReadPiece(std::string& piece) {
    piece.clear();
    for (int c; piece.size() < kMaxPiece && (c = m_stream.get()) != std::char_traits<char>::eof();) {
        if (c == '\n') {
            if (!piece.empty() && piece.back() == '\r') {
                piece.pop_back();
            }
            piece += '\n';
            return true;
        }
        piece += static_cast<char>(c);
    }
    return !piece.empty();
}

std::optional<std::string> TipFile::NextTip() {
    if (!IsOpen()) {
        return std::nullopt;
    }
    // At most one trip back to the start: a file without a tip line must not keep us here.
    for (int wraps = 0; wraps < 2;) {
        std::string piece;
        if (ReadPiece(piece)) {
            if (!IsSkipped(piece)) {
                return piece;
            }
            continue;
        }
        ++wraps;
        if (!Seek(0)) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string FileTimeStamp(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return {};
    }
    const std::time_t modified = info.st_mtime;
    char text[32] = {};
    return ::ctime_r(&modified, text) ? std::string(text) : std::string();
}

}  // namespace quillet
