#include "store/category_append.h"

#include <gtest/gtest.h>

#include "store/category_file.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::LengthPrefixed;
using test::ReadBytes;
using test::WriteBytes;

// What a full read and rewrite with the card at the end makes of the same file.
std::string FullRewrite(const test::TestFolder& folder, const std::string& bytes, const CardRecord& card) {
    WriteBytes(folder / "reference", bytes);
    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    EXPECT_FALSE(ReadCategoryFile(folder / "reference", ReadMode::Full, HeaderCheck::Skip, {name, count, &cards}));
    cards.Append(card);
    EXPECT_FALSE(WriteCategoryFile(folder / "reference", name, cards));
    return ReadBytes(folder / "reference");
}

TEST(CategoryAppend, writesWhatAFullRewriteWrites_inEveryForm) {
    const std::vector<CardRecord> cards = {{"a", std::string(300, 'x'), ""}, {"b", std::string(70000, 'y'), ""}};
    const std::string canonical = CategoryBytes("cat", cards);
    std::string longPrefix = CategoryBytes("cat", {});
    longPrefix += std::string(
                      "\xFF\x01\x00"
                      "a",
                      4) +
                  LengthPrefixed("") + LengthPrefixed("");
    longPrefix.replace(CategoryBytes("cat", {}).size() - 4, 4, test::Int32(1));
    std::string wide = CategoryBytes("cat", {});
    wide += std::string("\xFF\xFE\xFF\x01\x41\x00", 6) + LengthPrefixed("") + LengthPrefixed("");
    wide.replace(CategoryBytes("cat", {}).size() - 4, 4, test::Int32(1));
    const std::pair<const char*, std::string> forms[] = {
        {"canonical", canonical},
        {"empty", CategoryBytes("cat", {})},
        {"foreign header", CategoryBytes("cat", cards, "SomethingElse")},
        {"old version",
         [&] {
             std::string bytes = canonical;
             bytes[22] = '9';
             return bytes;
         }()},
        {"longer prefix", longPrefix},
        {"16-bit string", wide},
        {"bytes after the last card", canonical + "trailing"},
    };
    const CardRecord card{"new", "line\r\n", ""};
    for (const auto& [form, bytes] : forms) {
        SCOPED_TRACE(form);
        test::TestFolder folder;
        WriteBytes(folder / "Qulan.001", bytes);
        const AppendResult result = AppendCardToFile(folder / "Qulan.001", card);
        ASSERT_FALSE(result.error) << result.error.Message();
        EXPECT_FALSE(result.nameTaken);
        EXPECT_EQ(ReadBytes(folder / "Qulan.001"), FullRewrite(folder, bytes, card));
    }
}

TEST(CategoryAppend, takenNameAndDamage_writeNothing) {
    test::TestFolder folder;
    const std::string bytes = CategoryBytes("cat", {{"a", "1", ""}, {"b", "2", ""}});
    WriteBytes(folder / "Qulan.001", bytes);
    const AppendResult taken = AppendCardToFile(folder / "Qulan.001", {"b", "other", ""});
    EXPECT_TRUE(taken.nameTaken);
    EXPECT_FALSE(taken.error);
    EXPECT_EQ(ReadBytes(folder / "Qulan.001"), bytes);

    WriteBytes(folder / "Qulan.001", bytes.substr(0, bytes.size() - 2));
    EXPECT_EQ(AppendCardToFile(folder / "Qulan.001", {"c", "", ""}).error.kind, StoreErrorKind::Damaged);
    EXPECT_EQ(ReadBytes(folder / "Qulan.001"), bytes.substr(0, bytes.size() - 2));
    EXPECT_EQ(test::FileNames(folder.Path()), std::vector<std::string>{"Qulan.001"});
}

}  // namespace
}  // namespace quillet
