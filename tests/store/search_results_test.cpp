#include "store/search_results.h"

#include <gtest/gtest.h>

#include "store/byte_sink.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::TestFolder;

CardTable TableOf(std::vector<CardRecord> records) {
    CardTable table;
    for (CardRecord& record : records) {
        table.Append(std::move(record));
    }
    return table;
}

std::vector<CardRecord> RecordsOf(const CardTable& table) {
    std::vector<CardRecord> records;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        records.push_back(table.At(i));
    }
    return records;
}

TEST(SearchResultsFile, written_fieldByFieldInEveryLengthForm) {
    const std::string content(300, 'c');    // 0xFF and a 16-bit length
    const std::string address(70000, 'd');  // 0xFF, 0xFFFF and a 32-bit length
    StringSink sink;
    WriteSearchResults(sink, "\xD6\xD0", TableOf({{"n", content, address}, {"", "", ""}}));
    const std::string expected = std::string("\x02\xD6\xD0") + std::string("\x02\x00\x00\x00", 4) + "\x01n" +
                                 "\xFF\x2C\x01" + content + std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7) + address +
                                 std::string(3, '\0');
    EXPECT_EQ(sink.Bytes(), expected);
}

TEST(SearchResultsFile, savedAndLoaded_giveBackTextAndRecords) {
    TestFolder folder;
    const auto file = folder / "Quillet.sch";
    const std::vector<CardRecord> records = {{"甲", "内容", ""}, {"site", "", "http://x.example"}};
    ASSERT_FALSE(SaveSearchResults(file, "查找", TableOf(records)));
    std::string text;
    CardTable table;
    ASSERT_FALSE(LoadSearchResults(file, text, table));
    EXPECT_EQ(text, "查找");
    EXPECT_EQ(RecordsOf(table), records);
    EXPECT_EQ(test::FileNames(folder.Path()), std::vector<std::string>{"Quillet.sch"}) << "no temporary left";

    std::string none = "old";
    CardTable empty;
    EXPECT_FALSE(LoadSearchResults(folder / "missing.sch", none, empty)) << "no results yet is no error";
    EXPECT_EQ(empty.Size(), 0u);
}

TEST(SearchResultsFile, damagedFile_isRefusedAndChangesNothing) {
    const std::string one = std::string("\x01t") + std::string("\x01\x00\x00\x00", 4);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"no count", "\x01t"},
        {"record cut", one + "\x01n\x01"
                             "c"},
        {"a billion records claimed", std::string("\x01t") + std::string("\x00\xCA\x9A\x3B", 4) + std::string(9, '\0')},
        {"count of all ones", std::string("\x01t\xFF\xFF\xFF\xFF") + std::string(9, '\0')},
        {"string longer than the file", one + std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7) + "ab"},
        {"search text cut", "\x09t"},
    };
    TestFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = folder / "Quillet.sch";
        test::WriteBytes(file, c.bytes);
        std::string text = "kept";
        CardTable table = TableOf({{"kept", "", ""}});
        const StoreError error = LoadSearchResults(file, text, table);
        EXPECT_EQ(error.kind, StoreErrorKind::Damaged);
        EXPECT_NE(error.Message().find("Quillet.sch"), std::string::npos);
        EXPECT_EQ(text, "kept");
        EXPECT_EQ(table.Size(), 1u);
    }
}

TEST(SearchResultsFile, failedSave_isReportedAndKeepsTheOldFile) {
    TestFolder folder;
    const auto file = folder / "Quillet.sch";
    ASSERT_FALSE(SaveSearchResults(file, "old", TableOf({})));
    const StoreError error = SaveSearchResults(folder / "gone" / "Quillet.sch", "new", TableOf({}));
    EXPECT_EQ(error.kind, StoreErrorKind::CannotWrite);
    EXPECT_EQ(test::ReadBytes(file), std::string("\x03old\x00\x00\x00\x00", 8));
}

}  // namespace
}  // namespace quillet
