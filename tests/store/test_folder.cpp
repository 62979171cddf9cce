#include "test_folder.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quillet::test {

TestFolder::TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillet-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a test folder");
    }
    m_path = pattern;
}

TestFolder::~TestFolder() {
    std::error_code error;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, error);
    std::filesystem::remove_all(m_path, error);
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string Int32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
            static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)};
}

std::string LengthPrefixed(std::string_view text) {
    std::string out;
    if (text.size() < 255) {
        out += static_cast<char>(text.size());
    } else if (text.size() < 65534) {
        out += '\xFF';
        out += static_cast<char>(text.size() & 0xFF);
        out += static_cast<char>(text.size() >> 8);
    } else {
        out += "\xFF\xFF\xFF";
        out += Int32(static_cast<std::int32_t>(text.size()));
    }
    out += text;
    return out;
}

std::string CategoryBytes(std::string_view name, const std::vector<CardRecord>& cards, std::string_view header) {
    std::string out = LengthPrefixed(header) + LengthPrefixed("Ver1.0") + LengthPrefixed(name) +
                      Int32(static_cast<std::int32_t>(cards.size()));
    for (const CardRecord& card : cards) {
        out += LengthPrefixed(card.name) + LengthPrefixed(card.content) + LengthPrefixed(card.address);
    }
    return out;
}

}  // namespace quillet::test
