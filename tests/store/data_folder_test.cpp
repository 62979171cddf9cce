#include <gtest/gtest.h>

#include "store/card_store.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::TestFolder;
using test::WriteBytes;

std::vector<std::string> Names(const std::vector<std::filesystem::path>& files) {
    std::vector<std::string> names;
    for (const auto& file : files) {
        names.push_back(file.filename().string());
    }
    return names;
}

TEST(DataFolder, categoryFileName_padsToThreeDigitsBelowAHundred) {
    const CardStore store("/prog");
    const std::pair<int, const char*> cases[] = {{1, "Qulan.001"},    {9, "Qulan.009"},   {10, "Qulan.010"},
                                                 {99, "Qulan.099"},   {100, "Qulan.100"}, {101, "Qulan.101"},
                                                 {1000, "Qulan.1000"}};
    for (const auto& [number, name] : cases) {
        EXPECT_EQ(store.CategoryFileName(0, number), std::filesystem::path("/prog/Qu_data") / name);
    }
    EXPECT_EQ(store.CategoryFileName(3, 1), std::filesystem::path("/prog/Qu_data/Quweb.001"));
    EXPECT_EQ(store.CategoryPattern(1), "/prog/Qu_data/Quuse.*");
}

TEST(DataFolder, libraryOutsideZeroToThree_doesNothing) {
    const CardStore store("/prog");
    for (int library : {-1, 4, 5}) {
        EXPECT_FALSE(store.CategoryFileName(library, 1));
        EXPECT_FALSE(store.CategoryPattern(library));
        EXPECT_FALSE(store.NewCategoryPath(library));
        EXPECT_TRUE(store.ListCategories(library).empty());
    }
}

TEST(DataFolder, newCategoryPath_fillsTheFirstGap) {
    TestFolder home;
    CardStore store(home.Path());
    store.EnsureDataFolder();
    EXPECT_EQ(store.NewCategoryPath(0)->filename(), "Qulan.001");
    for (const char* name : {"Qulan.001", "Qulan.002", "Qulan.004"}) {
        WriteBytes(store.CategoryFolder() / name, CategoryBytes("x", {}));
    }
    EXPECT_EQ(store.NewCategoryPath(0)->filename(), "Qulan.003");
    EXPECT_EQ(store.NewCategoryPath(1)->filename(), "Quuse.001");
}

TEST(DataFolder, listing_isByFileNameAndSkipsRenumberingAndTemporaryFiles) {
    TestFolder home;
    CardStore store(home.Path());
    store.EnsureDataFolder();
    for (const char* name : {"Qulan.010", "Qulan.002", "Qulan.001", "Qulan.001.!!!", ".quillet-ab12cd.tmp", "Quuse.001",
                             "Qulan", "Quillet.sch"}) {
        WriteBytes(store.CategoryFolder() / name, CategoryBytes(name, {{"a", "", ""}}));
    }
    std::filesystem::create_directory(store.CategoryFolder() / "Qulan.dir");
    EXPECT_EQ(Names(CategoryFiles(store.CategoryFolder(), 0)),
              (std::vector<std::string>{"Qulan.001", "Qulan.002", "Qulan.010"}));

    const std::vector<CategoryInfo> list = store.ListCategories(0);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2].name, "Qulan.010");
    EXPECT_EQ(list[2].cardCount, 1);
    EXPECT_FALSE(list[2].error);
}

TEST(DataFolder, missingDataFolder_listsNothingAndIsCreatedOneLevelDeep) {
    TestFolder home;
    CardStore store(home / "not-there");
    EXPECT_TRUE(store.ListCategories(0).empty());
    store.EnsureDataFolder();
    EXPECT_FALSE(std::filesystem::exists(store.CategoryFolder())) << "parents are never created";

    store.SetProgramFolder(home.Path());
    store.EnsureDataFolder();
    EXPECT_TRUE(std::filesystem::is_directory(home / "Qu_data"));
}

}  // namespace
}  // namespace quillet
