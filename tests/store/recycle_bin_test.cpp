#include "store/recycle_bin.h"

#include <gtest/gtest.h>

#include "store/category_file.h"
#include "store/codec.h"
#include "store/data_folder.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::ReadBytes;
using test::WriteBytes;

CardTable Table(const std::vector<CardRecord>& cards) {
    CardTable table;
    for (const CardRecord& card : cards) {
        table.Append(card);
    }
    return table;
}

class RecycleBinTest : public ::testing::Test {
protected:
    std::filesystem::path Seed(const char* file, std::string_view name, const std::vector<CardRecord>& cards) {
        WriteBytes(home / file, CategoryBytes(name, cards));
        return home / file;
    }

    test::TestFolder home;
    RecycleBin bin{home.Path()};
};

TEST_F(RecycleBinTest, aTrashedCategory_leavesTheLibrary_andComesBackByteForByte) {
    const auto file = Seed("Qulan.002", "c", {{"a", "1", ""}, {"b", "2", ""}});
    const std::string bytes = ReadBytes(file);
    std::string id;
    ASSERT_FALSE(bin.TrashCategory(file, 0, &id));
    EXPECT_TRUE(CategoryFiles(home.Path(), 0).empty());
    const std::vector<TrashItem> items = bin.List();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, id);
    EXPECT_EQ(items[0].kind, TrashItem::Kind::Category);
    EXPECT_EQ(items[0].originalFile, "Qulan.002");
    EXPECT_EQ(items[0].categoryName, "c");
    EXPECT_EQ(items[0].cardNames, (std::vector<std::string>{"a", "b"}));

    RestoreOutcome outcome;
    ASSERT_FALSE(bin.Restore(id, &outcome));
    EXPECT_EQ(outcome.file, file);
    EXPECT_EQ(ReadBytes(file), bytes);
    EXPECT_TRUE(bin.List().empty());
}

TEST_F(RecycleBinTest, restoringWhereTheNameOrNumberIsTaken_goesBesideNeverOver) {
    const auto file = Seed("Qulan.001", "c", {{"a", "1", ""}});
    std::string category;
    ASSERT_FALSE(bin.TrashCategory(file, 0, &category));
    const std::string newer = CategoryBytes("c", {{"new", "", ""}});
    WriteBytes(file, newer);  // a new category of the same name under the same number
    RestoreOutcome outcome;
    ASSERT_FALSE(bin.Restore(category, &outcome));
    EXPECT_EQ(ReadBytes(file), newer);
    EXPECT_EQ(outcome.file, home / "Qulan.002");
    EXPECT_EQ(ReadBytes(home / "Qulan.002"), CategoryBytes("c" + ToStoredText("（恢复）"), {{"a", "1", ""}}));

    std::string cards;
    ASSERT_FALSE(bin.TrashCards(0, "c", Table({{"new", "old text", ""}, {"z", "", "http://z/"}}), &cards));
    ASSERT_FALSE(bin.Restore(cards, &outcome));
    EXPECT_EQ(ReadBytes(file),
              CategoryBytes(
                  "c", {{"new", "", ""}, {"new" + ToStoredText("（恢复）"), "old text", ""}, {"z", "", "http://z/"}}));
}

TEST_F(RecycleBinTest, itemsOfOneSecond_getIdsOfTheirOwn) {
    std::string first, second, third;
    ASSERT_FALSE(bin.TrashCategory(Seed("Qulan.001", "a", {}), 0, &first));
    ASSERT_FALSE(bin.TrashCategory(Seed("Qulan.002", "b", {}), 0, &second));
    ASSERT_FALSE(bin.TrashCards(0, "c", Table({{"x", "", ""}}), &third));
    EXPECT_NE(first, second);
    EXPECT_NE(second, third);
    EXPECT_NE(first, third);
    RestoreOutcome outcome;
    ASSERT_FALSE(bin.Restore(first, &outcome));
    EXPECT_EQ(outcome.categoryName, "a");
}

TEST_F(RecycleBinTest, cardsWhoseCategoryIsGone_makeItAgain) {
    std::string id;
    ASSERT_FALSE(bin.TrashCards(3, "sites", Table({{"s", "about", "http://s/"}}), &id));
    ASSERT_FALSE(bin.Restore(id));
    EXPECT_EQ(ReadBytes(home / "Quweb.001"), CategoryBytes("sites", {{"s", "about", "http://s/"}}));
}

TEST_F(RecycleBinTest, aDamagedItem_isListedAndRefused_andExpiryKeepsTheNewest) {
    std::string good;
    ASSERT_FALSE(bin.TrashCards(1, "c", Table({{"a", "", ""}}), &good));
    WriteBytes(bin.Folder() / "0000000001-0001.1.cards", "QuilletArchive File:broken");
    std::vector<TrashItem> items = bin.List();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, good) << "newest first";
    EXPECT_TRUE(items[1].error);
    EXPECT_TRUE(bin.Restore("0000000001-0001"));
    EXPECT_TRUE(CategoryFiles(home.Path(), 1).empty());
    EXPECT_TRUE(bin.Restore("nothing"));

    bin.Expire();
    items = bin.List();
    ASSERT_EQ(items.size(), 1u) << "the one of 1970 is long past thirty days";
    EXPECT_EQ(items[0].id, good);
    ASSERT_FALSE(bin.Empty());
    EXPECT_TRUE(bin.List().empty());
}

}  // namespace
}  // namespace quillet
