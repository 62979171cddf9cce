#include "store/card_store.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::TestFolder;
using test::WriteBytes;

class CardStoreTest : public ::testing::Test {
protected:
    CardStoreTest() : store(home.Path()) {
        store.EnsureDataFolder();
        store.currentLibrary = 0;
    }

    std::filesystem::path Category(const char* file, std::string_view name, const std::vector<CardRecord>& cards) {
        const std::filesystem::path path = store.CategoryFolder() / file;
        WriteBytes(path, CategoryBytes(name, cards));
        return path;
    }

    TestFolder home;
    CardStore store;
};

TEST_F(CardStoreTest, startValues) {
    const CardStore fresh;
    EXPECT_EQ(fresh.currentLibrary, 1);
    EXPECT_TRUE(fresh.flags.noSavedState);
    EXPECT_TRUE(fresh.flags.dataBarVisible);
    EXPECT_FALSE(fresh.flags.cardModified);
    EXPECT_EQ(fresh.cardCount, 0);
    EXPECT_EQ(fresh.libraryStates.size(), 5u);
}

TEST_F(CardStoreTest, categoryName_isComparedByteForByteAndTheCheckChangesNothing) {
    Category("Qulan.001", "Alpha", {{"a", "", ""}, {"b", "", ""}});
    Category("Qulan.002", "\xB1\xE0\xB3\xCC", {});
    Category("Quuse.001", "Beta", {});
    store.currentCategoryName = "open";
    store.cardCount = 7;

    EXPECT_FALSE(store.IsCategoryNameFree("Alpha"));
    EXPECT_FALSE(store.IsCategoryNameFree("\xB1\xE0\xB3\xCC"));
    EXPECT_TRUE(store.IsCategoryNameFree("alpha"));
    EXPECT_TRUE(store.IsCategoryNameFree("Alpha "));
    EXPECT_TRUE(store.IsCategoryNameFree("Beta")) << "another library";
    EXPECT_EQ(store.currentCategoryName, "open");
    EXPECT_EQ(store.cardCount, 7);
}

TEST_F(CardStoreTest, cardName_reloadsTheRememberedCategory) {
    const auto file = Category("Qulan.001", "c", {{"Card", "x", ""}, {"Card", "y", ""}, {"two  ", "", ""}});
    store.libraryStates[0].categoryPath = file.string();

    EXPECT_FALSE(store.IsCardNameFree("Card"));
    EXPECT_TRUE(store.IsCardNameFree("card"));
    EXPECT_EQ(store.openTable.Size(), 3u);
    EXPECT_EQ(store.cardCount, 3);
    EXPECT_EQ(store.currentCategoryName, "c");
    EXPECT_EQ(store.openTable.FindFirst("Card"), 0u) << "duplicates: the first one counts";

    std::filesystem::remove(file);
    EXPECT_FALSE(store.IsCardNameFree("new")) << "a vanished file answers taken";
    EXPECT_EQ(store.CheckCardName("new"), CardNameCheck::Unreadable);
}

TEST_F(CardStoreTest, cardName_inADamagedFileIsNotFree) {
    const auto file = store.CategoryFolder() / "Qulan.001";
    const std::string whole = CategoryBytes("c", {{"a", "1", ""}, {"b", "2", ""}});
    WriteBytes(file, whole.substr(0, whole.size() - 2));
    store.libraryStates[0].categoryPath = file.string();
    StoreError error;
    EXPECT_EQ(store.CheckCardName("new", &error), CardNameCheck::Unreadable);
    EXPECT_EQ(error.kind, StoreErrorKind::Damaged);
    EXPECT_EQ(store.cardCount, 1);
}

TEST_F(CardStoreTest, save_writesCurrentNameAndTableAndSetsTheCount) {
    store.currentCategoryName = "n";
    store.openTable.Append({"a", "b", ""});
    store.cardCount = 0;
    const auto file = store.CategoryFolder() / "Qulan.001";
    ASSERT_FALSE(store.SaveCategory(file));
    EXPECT_EQ(store.cardCount, 1);
    EXPECT_EQ(test::ReadBytes(file), CategoryBytes("n", {{"a", "b", ""}}));
}

TEST(CardTable, removeAndReplaceKeepTheOrder) {
    CardTable table;
    table.SetGrowthStep(500);
    for (int i = 0; i < 2000; ++i) {
        table.Append({std::to_string(i), "", ""});
    }
    table.RemoveAt(0);
    table.Replace(1, {"x", "", ""});
    table.RemoveAt(5000);
    ASSERT_EQ(table.Size(), 1999u);
    EXPECT_EQ(table.At(0).name, "1");
    EXPECT_EQ(table.At(1).name, "x");
    EXPECT_EQ(table.At(1998).name, "1999");
    EXPECT_EQ(table.FindFirst("missing"), table.Size());
}

}  // namespace
}  // namespace quillet
