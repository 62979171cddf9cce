#include "store/card_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST_F(CardStoreTest, cardName_reloadsTheOpenCategory) {
    const auto file = Category("Qulan.001", "c", {{"Card", "x", ""}, {"Card", "y", ""}, {"two  ", "", ""}});
    ASSERT_FALSE(store.OpenCategoryFile(file, HeaderCheck::Check));
    store.openTable.Clear();

    EXPECT_FALSE(store.IsCardNameFree("Card"));
    EXPECT_TRUE(store.IsCardNameFree("card"));
    EXPECT_EQ(store.openTable.Size(), 3u);
    EXPECT_EQ(store.cardCount, 3);
    EXPECT_EQ(store.currentCategoryName, "c");
    EXPECT_EQ(store.openTable.FindFirst("Card"), 0u) << "duplicates: the first one counts";

    std::filesystem::remove(file);
    EXPECT_FALSE(store.IsCardNameFree("new")) << "a vanished file answers taken";
    EXPECT_EQ(store.CheckCardName("new"), CardNameCheck::Unreadable);
    EXPECT_FALSE(store.Open().IsOpen());
}

TEST_F(CardStoreTest, damagedCategory_leavesNothingOpenToWriteInto) {
    const auto healthy = Category("Qulan.001", "healthy", {{"a", "1", ""}});
    const std::string whole = CategoryBytes("cut", {{"a", "1", ""}, {"b", "2", ""}});
    const auto cut = store.CategoryFolder() / "Qulan.002";
    WriteBytes(cut, whole.substr(0, whole.size() - 2));
    ASSERT_FALSE(store.OpenCategoryFile(healthy, HeaderCheck::Check));

    EXPECT_EQ(store.OpenCategoryFile(cut, HeaderCheck::Check).kind, StoreErrorKind::Damaged);
    EXPECT_FALSE(store.Open().IsOpen());
    EXPECT_EQ(store.libraryStates[0].categoryPath, "");
    EXPECT_EQ(store.libraryStates[0].categoryName, "");
    EXPECT_EQ(store.currentCategoryPath, "");
    EXPECT_EQ(store.CheckCardName("new"), CardNameCheck::Unreadable);
    CardTable cards;
    cards.Append({"new", "", ""});
    EXPECT_EQ(store.WriteOpenCategory("cut", cards).kind, StoreErrorKind::Refused);
    EXPECT_EQ(test::ReadBytes(healthy), CategoryBytes("healthy", {{"a", "1", ""}}));
    EXPECT_EQ(test::ReadBytes(cut), whole.substr(0, whole.size() - 2));
}

TEST_F(CardStoreTest, onlyCategoryFilesOfTheLibraryInTheDataFolder_areOpened) {
    const std::string bytes = CategoryBytes("x", {{"a", "1", ""}});
    const std::filesystem::path outside = home / "notes.txt";
    const std::filesystem::path paths[] = {outside, store.CategoryFolder() / "Quuse.001",
                                           store.CategoryFolder() / "Qulan.001.!!!",
                                           store.CategoryFolder() / "sub" / "Qulan.001", store.CategoryFolder()};
    WriteBytes(outside, bytes);
    WriteBytes(paths[1], bytes);
    WriteBytes(paths[2], bytes);
    std::filesystem::create_directory(store.CategoryFolder() / "sub");
    WriteBytes(paths[3], bytes);
    for (const std::filesystem::path& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(store.OpenCategoryFile(path, HeaderCheck::Skip));
        EXPECT_EQ(store.WriteOpenCategory("x", CardTable{}).kind, StoreErrorKind::Refused);
    }
    EXPECT_EQ(test::ReadBytes(outside), bytes);
}

TEST_F(CardStoreTest, writeOpenCategory_refusesAFileChangedSinceItWasRead) {
    const auto file = Category("Qulan.001", "c", {{"a", "1", ""}});
    ASSERT_FALSE(store.OpenCategoryFile(file, HeaderCheck::Check));
    CardTable mine = store.openTable;
    mine.Append({"mine", "", ""});
    ASSERT_FALSE(store.WriteOpenCategory("c", mine));
    EXPECT_EQ(store.cardCount, 2);
    EXPECT_EQ(test::ReadBytes(file), CategoryBytes("c", {{"a", "1", ""}, {"mine", "", ""}}));

    // Someone else rewrites it (a copy brought over by hand, say); our next save must not undo that.
    const std::string theirs = CategoryBytes("c", {{"theirs", "", ""}});
    WriteBytes(store.CategoryFolder() / "new", theirs);
    std::filesystem::rename(store.CategoryFolder() / "new", file);
    EXPECT_EQ(store.WriteOpenCategory("c", mine).kind, StoreErrorKind::Refused);
    EXPECT_EQ(test::ReadBytes(file), theirs);
}

TEST_F(CardStoreTest, openAndUnchanged_onlyWhileTheFileIsWhatWasRead) {
    const auto file = Category("Qulan.001", "c", {{"a", "1", ""}});
    const auto other = Category("Qulan.002", "d", {});
    ASSERT_FALSE(store.OpenCategoryFile(file, HeaderCheck::Check));
    EXPECT_TRUE(store.IsOpenAndUnchanged(file));
    EXPECT_FALSE(store.IsOpenAndUnchanged(other));
    // Our own write keeps it current; anyone else's makes it stale.
    ASSERT_FALSE(store.WriteOpenCategory("c", store.openTable));
    EXPECT_TRUE(store.IsOpenAndUnchanged(file));
    WriteBytes(store.CategoryFolder() / "new", CategoryBytes("c", {{"theirs", "", ""}}));
    std::filesystem::rename(store.CategoryFolder() / "new", file);
    EXPECT_FALSE(store.IsOpenAndUnchanged(file));
    store.CloseCategory();
    EXPECT_FALSE(store.IsOpenAndUnchanged(file));
}

TEST_F(CardStoreTest, secondWriterOfAFolder_isRefusedAndToldWhoHoldsIt) {
    const auto file = Category("Qulan.001", "c", {});
    ASSERT_FALSE(store.AcquireDataLock("青榆资料夹"));
    CardStore other(home.Path());
    other.currentLibrary = 0;
    ASSERT_FALSE(other.OpenCategoryFile(file, HeaderCheck::Check));
    const StoreError refused = other.WriteOpenCategory("c", CardTable{});
    EXPECT_EQ(refused.kind, StoreErrorKind::Locked);
    EXPECT_NE(refused.Message().find("青榆资料夹（进程 " + std::to_string(::getpid()) + "）"), std::string::npos)
        << refused.Message();
    EXPECT_EQ(other.CreateCategory("d").kind, StoreErrorKind::Locked);
    EXPECT_EQ(other.RenumberCategories({file}).kind, StoreErrorKind::Locked);
    EXPECT_EQ(other.RecoverInterruptedWork().kind, StoreErrorKind::Locked);

    store.ReleaseDataLock();
    EXPECT_FALSE(other.WriteOpenCategory("c", CardTable{}));
}

TEST_F(CardStoreTest, removedLockFile_countsAsLost) {
    const auto file = Category("Qulan.001", "c", {});
    ASSERT_FALSE(store.AcquireDataLock("test"));
    ASSERT_FALSE(store.OpenCategoryFile(file, HeaderCheck::Check));
    std::filesystem::remove(store.CategoryFolder() / std::string(kDataLockName));
    CardStore other(home.Path());
    ASSERT_FALSE(other.AcquireDataLock("other")) << "a new lock file is anyone's";
    EXPECT_EQ(store.WriteOpenCategory("c", CardTable{}).kind, StoreErrorKind::Locked);
}

TEST_F(CardStoreTest, createCategory_takesTheFirstFreeNumberAndOpensIt) {
    Category("Qulan.001", "a", {});
    Category("Qulan.003", "c", {});
    ASSERT_FALSE(store.CreateCategory("b"));
    EXPECT_EQ(store.Open().file, store.CategoryFolder() / "Qulan.002");
    EXPECT_EQ(store.libraryStates[0].categoryPath, store.Open().file.string());
    EXPECT_EQ(test::ReadBytes(store.Open().file), CategoryBytes("b", {}));
}

// Unreadable stands in for what a permission setting does to a user who is not root.
TEST_F(CardStoreTest, unreadableFolderOrFile_makesTheCategoryNameCheckFailClosed) {
    const auto fifo = store.CategoryFolder() / "Qulan.001";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Category("Qulan.002", "Beta", {});
    StoreError error;
    EXPECT_EQ(store.CheckCategoryName("Beta", &error), CategoryNameCheck::Unreadable) << "never hangs either";
    EXPECT_NE(error.Message().find("Qulan.001"), std::string::npos);
    EXPECT_FALSE(store.IsCategoryNameFree("Gamma"));

    std::filesystem::remove_all(store.CategoryFolder());
    WriteBytes(store.CategoryFolder(), "a file where the folder should be");
    EXPECT_EQ(store.CheckCategoryName("Gamma", &error), CategoryNameCheck::Unreadable);
    EXPECT_EQ(error.kind, StoreErrorKind::CannotOpen);
    std::filesystem::remove(store.CategoryFolder());
    EXPECT_EQ(store.CheckCategoryName("Gamma"), CategoryNameCheck::Free) << "no folder yet: nothing is taken";
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
