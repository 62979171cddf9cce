#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/card_record.h"

namespace quillet::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end of the test.
class TestFolder final {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& file);
std::vector<std::string> FileNames(const std::filesystem::path& folder);

// A category file built by hand, field by field, independent of the writer under test.
std::string LengthPrefixed(std::string_view text);
std::string Int32(std::int32_t value);
std::string CategoryBytes(std::string_view name, const std::vector<CardRecord>& cards,
                          std::string_view header = "QuilletArchive File:");

}  // namespace quillet::test
