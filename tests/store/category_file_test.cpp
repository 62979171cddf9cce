#include "store/category_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::ReadBytes;
using test::TestFolder;
using test::WriteBytes;

// What a read leaves behind, started from values a read must not keep by accident.
struct Loaded {
    std::string name = "before";
    std::int32_t count = -99;
    CardTable cards;

    Loaded() { cards.Append({"old", "card", ""}); }
    CategoryTarget Target() { return {name, count, &cards}; }
    StoreError Read(const std::filesystem::path& file, ReadMode mode, HeaderCheck check = HeaderCheck::Skip) {
        return ReadCategoryFile(file, mode, check, Target());
    }
};

CardTable TableOf(const std::vector<CardRecord>& records) {
    CardTable table;
    for (const CardRecord& record : records) {
        table.Append(record);
    }
    return table;
}

TEST(CategoryFile, emptyCategory_isHeaderVersionNameAndZeroCount) {
    TestFolder folder;
    ASSERT_FALSE(WriteCategoryFile(folder / "Qulan.001", "C", CardTable{}));
    const std::string expected = std::string("\x14QuilletArchive File:\x06Ver1.0\x01\x43", 30) + std::string(4, '\0');
    EXPECT_EQ(ReadBytes(folder / "Qulan.001"), expected);
    EXPECT_EQ(expected.size(), 34u);
}

TEST(CategoryFile, cards_areWrittenInOrderAndTextCardsEndWithEmptyAddress) {
    TestFolder folder;
    const std::vector<CardRecord> cards = {{"\xB1\xE0", "a\r\nb", ""}, {"site", "desc", "http://x"}};
    ASSERT_FALSE(WriteCategoryFile(folder / "f", "cat", TableOf(cards)));
    const std::string bytes = ReadBytes(folder / "f");
    EXPECT_EQ(bytes, CategoryBytes("cat", cards));

    Loaded loaded;
    ASSERT_FALSE(loaded.Read(folder / "f", ReadMode::Full));
    EXPECT_EQ(loaded.name, "cat");
    EXPECT_EQ(loaded.count, 2);
    ASSERT_EQ(loaded.cards.Size(), 2u);
    EXPECT_EQ(loaded.cards.At(0), cards[0]);
    EXPECT_EQ(loaded.cards.At(1), cards[1]);
}

TEST(CategoryFile, headerOnly_setsNameAndCountAndLeavesTheCards) {
    TestFolder folder;
    WriteBytes(folder / "f", CategoryBytes("name", {{"a", "", ""}, {"b", "", ""}}));
    Loaded loaded;
    ASSERT_FALSE(loaded.Read(folder / "f", ReadMode::HeaderOnly));
    EXPECT_EQ(loaded.name, "name");
    EXPECT_EQ(loaded.count, 2);
    ASSERT_EQ(loaded.cards.Size(), 1u);
    EXPECT_EQ(loaded.cards.At(0).name, "old");
}

TEST(CategoryFile, foreignHeader_refusedByCheckingReaderReadByTheOther_andNeverWrittenBack) {
    TestFolder folder;
    WriteBytes(folder / "f", CategoryBytes("n", {{"a", "b", ""}}, "SomethingElse"));

    Loaded checked;
    const StoreError error = checked.Read(folder / "f", ReadMode::Full, HeaderCheck::Check);
    EXPECT_EQ(error.kind, StoreErrorKind::BadHeader);
    EXPECT_EQ(error.file, folder / "f");
    EXPECT_EQ(checked.name, "before");
    EXPECT_EQ(checked.count, -99);
    EXPECT_EQ(checked.cards.Size(), 1u);

    Loaded unchecked;
    ASSERT_FALSE(unchecked.Read(folder / "f", ReadMode::Full, HeaderCheck::Skip));
    EXPECT_EQ(unchecked.name, "n");
    ASSERT_FALSE(WriteCategoryFile(folder / "f", unchecked.name, unchecked.cards));
    EXPECT_EQ(ReadBytes(folder / "f"), CategoryBytes("n", {{"a", "b", ""}}));
}

TEST(CategoryFile, extraBytesAfterLastRecord_loadAndAreDroppedOnNextWrite) {
    TestFolder folder;
    const std::string clean = CategoryBytes("n", {{"a", "b", ""}});
    WriteBytes(folder / "f", clean + "trailing junk");
    Loaded loaded;
    ASSERT_FALSE(loaded.Read(folder / "f", ReadMode::Full));
    ASSERT_FALSE(WriteCategoryFile(folder / "f", loaded.name, loaded.cards));
    EXPECT_EQ(ReadBytes(folder / "f"), clean);
}

TEST(CategoryFile, wideString_loadsAsCodePageAndIsRewrittenInEightBitForm) {
    TestFolder folder;
    std::string bytes = CategoryBytes("n", {});
    bytes.replace(bytes.size() - 4, 4, test::Int32(1));
    bytes += std::string("\xFF\xFE\xFF\x02\x16\x7F\x0B\x7A", 8) + std::string("\x00\x00", 2);
    WriteBytes(folder / "f", bytes);
    Loaded loaded;
    ASSERT_FALSE(loaded.Read(folder / "f", ReadMode::Full));
    ASSERT_FALSE(WriteCategoryFile(folder / "f", loaded.name, loaded.cards));
    EXPECT_EQ(ReadBytes(folder / "f"), CategoryBytes("n", {{"\xB1\xE0\xB3\xCC", "", ""}}));
}

TEST(CategoryFile, damagedFile_endsTheReadWithAnErrorNamingIt_keepingWhatWasRead) {
    const std::string whole = CategoryBytes("n", {{"one", "1", ""}, {"two", "2", ""}, {"three", "3", ""}});
    const std::string headerEnd = CategoryBytes("n", {}).substr(0, CategoryBytes("n", {}).size() - 4);
    struct Case {
        const char* what;
        std::string bytes;
        std::string name;
        std::int32_t count;
        std::size_t cards;
    };
    const Case cases[] = {
        {"empty file", "", "before", -99, 1},
        {"cut inside the header", whole.substr(0, 10), "before", -99, 1},
        {"cut inside the count", whole.substr(0, headerEnd.size() + 2), "n", -99, 1},
        {"cut in the second card", whole.substr(0, whole.size() - 12), "n", 1, 1},
        {"count beyond the records", headerEnd + test::Int32(1000000) + whole.substr(headerEnd.size() + 4), "n", 3, 3},
        {"count at the maximum", headerEnd + test::Int32(0x7FFFFFFF), "n", 0, 0},
        {"card length of gigabytes", headerEnd + test::Int32(1) + std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7), "n",
         0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder folder;
        WriteBytes(folder / "f", c.bytes);
        Loaded loaded;
        const StoreError error = loaded.Read(folder / "f", ReadMode::Full);
        EXPECT_EQ(error.kind, StoreErrorKind::Damaged);
        EXPECT_NE(error.Message().find((folder / "f").string()), std::string::npos);
        EXPECT_EQ(loaded.name, c.name);
        EXPECT_EQ(loaded.count, c.count);
        EXPECT_EQ(loaded.cards.Size(), c.cards);
        EXPECT_LE(loaded.count, static_cast<std::int32_t>(loaded.cards.Size()));
    }
}

TEST(CategoryFile, negativeCount_meansNoCards) {
    TestFolder folder;
    std::string bytes = CategoryBytes("n", {{"a", "b", ""}});
    const std::size_t countAt = CategoryBytes("n", {}).size() - 4;
    bytes.replace(countAt, 4, test::Int32(-3));
    WriteBytes(folder / "f", bytes);
    Loaded loaded;
    ASSERT_FALSE(loaded.Read(folder / "f", ReadMode::Full));
    EXPECT_EQ(loaded.count, 0);
    EXPECT_TRUE(loaded.cards.Empty());
}

TEST(CategoryFile, failedWrite_namesTheFileAndLeavesItAsItWas) {
    TestFolder folder;
    const CardTable cards = TableOf({{"a", "b", ""}});

    const StoreError missingFolder = WriteCategoryFile(folder / "missing" / "Qulan.001", "n", cards);
    EXPECT_EQ(missingFolder.kind, StoreErrorKind::CannotWrite);
    EXPECT_NE(missingFolder.Message().find("Qulan.001"), std::string::npos);

    const std::string old = CategoryBytes("old", {});
    WriteBytes(folder / "Qulan.001", old);
    ::chmod((folder / "Qulan.001").c_str(), 0444);
    const StoreError readOnly = WriteCategoryFile(folder / "Qulan.001", "n", cards);
    EXPECT_EQ(readOnly.kind, StoreErrorKind::CannotWrite);
    EXPECT_EQ(ReadBytes(folder / "Qulan.001"), old);
    EXPECT_EQ(test::FileNames(folder.Path()), std::vector<std::string>{"Qulan.001"}) << "no temporary file left";
}

// The streaming scan of listings and checks sees what a full read keeps, and stops where it stops.
TEST(CategoryFile, scan_seesTheCardsOfAFullReadWithoutKeepingThem) {
    TestFolder folder;
    std::string wide = "\xFF\xFE\xFF\x02" + std::string("\x2D\x4E\x87\x65", 4);  // "中文" in 16-bit form
    std::string bytes = CategoryBytes("n", {{"a", std::string(70000, 'x'), ""}, {"b", "", "http://b"}});
    bytes += wide + test::LengthPrefixed("content") + test::LengthPrefixed("");
    bytes.replace(CategoryBytes("n", {}).size() - 4, 4, test::Int32(3));
    const std::string cut = bytes.substr(0, bytes.size() - 3);
    for (const std::string& file : {bytes, cut}) {
        WriteBytes(folder / "f", file);
        Loaded loaded;
        const StoreError readError = loaded.Read(folder / "f", ReadMode::Full);
        std::vector<std::pair<std::string, std::string>> scanned;
        std::string name;
        std::int32_t count = 0;
        const StoreError scanError =
            ScanCategoryFile(folder / "f", HeaderCheck::Check, name, count,
                             [&](const std::string& n, const std::string& a) { scanned.emplace_back(n, a); });
        EXPECT_EQ(scanError.kind, readError.kind);
        EXPECT_EQ(count, loaded.count);
        ASSERT_EQ(scanned.size(), loaded.cards.Size());
        for (std::size_t i = 0; i < scanned.size(); ++i) {
            EXPECT_EQ(scanned[i].first, loaded.cards.At(i).name);
            EXPECT_EQ(scanned[i].second, loaded.cards.At(i).address);
        }
        std::int32_t structureCount = 0;
        EXPECT_EQ(ScanCategoryFile(folder / "f", HeaderCheck::Check, name, structureCount).kind, readError.kind);
        EXPECT_EQ(structureCount, loaded.count);
    }
}

TEST(CategoryFile, missingFile_cannotOpenAndChangesNothing) {
    TestFolder folder;
    Loaded loaded;
    EXPECT_EQ(loaded.Read(folder / "none", ReadMode::Full).kind, StoreErrorKind::CannotOpen);
    EXPECT_EQ(loaded.name, "before");
    EXPECT_EQ(loaded.cards.Size(), 1u);
}

}  // namespace
}  // namespace quillet
