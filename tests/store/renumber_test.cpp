#include <gtest/gtest.h>

#include <map>

#include "store/card_store.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::FileNames;
using test::ReadBytes;
using test::TestFolder;
using test::WriteBytes;

struct Crash {};

// Three categories in 002, 005 and 009, to be put in the order 009, 002, 005.
struct RenumberWorld {
    RenumberWorld() : store(home.Path()) {
        store.EnsureDataFolder();
        EXPECT_FALSE(store.AcquireDataLock("test"));
        store.currentLibrary = 0;
        for (const auto& [file, name] : {std::pair{"Qulan.002", "B"}, {"Qulan.005", "C"}, {"Qulan.009", "A"}}) {
            const std::string bytes = CategoryBytes(name, {{std::string("card of ") + name, name, ""}});
            WriteBytes(Path(file), bytes);
            original[name] = bytes;
        }
        WriteBytes(Path("Quuse.001"), CategoryBytes("other library", {}));
    }

    std::filesystem::path Path(const char* file) const { return store.CategoryFolder() / file; }
    std::vector<std::filesystem::path> NewOrder() const {
        return {Path("Qulan.009"), Path("Qulan.002"), Path("Qulan.005")};
    }

    // "file=name" for every listed category, after checking that each holds exactly its original bytes.
    std::vector<std::string> Listing() const {
        std::vector<std::string> rows;
        const std::vector<CategoryInfo> list = store.ListCategories(0);
        for (const CategoryInfo& info : list) {
            EXPECT_FALSE(info.error);
            EXPECT_EQ(ReadBytes(info.file), original.at(info.name)) << info.file;
            rows.push_back(info.file.filename().string() + "=" + info.name);
        }
        return rows;
    }

    const std::vector<std::string> oldLayout{"Qulan.002=B", "Qulan.005=C", "Qulan.009=A"};
    const std::vector<std::string> newLayout{"Qulan.001=A", "Qulan.002=B", "Qulan.003=C"};
    const std::vector<std::string> cleanNewFolder{"Quillet.lock", "Qulan.001", "Qulan.002", "Qulan.003", "Quuse.001"};
    const std::vector<std::string> cleanOldFolder{"Quillet.lock", "Qulan.002", "Qulan.005", "Qulan.009", "Quuse.001"};

    TestFolder home;
    CardStore store;
    std::map<std::string, std::string> original;
};

class RenumberTest : public ::testing::Test, public RenumberWorld {};

TEST_F(RenumberTest, newOrder_becomesTheFileOrderWithNamesUntouched) {
    ASSERT_FALSE(store.RenumberCategories(NewOrder()));
    EXPECT_EQ(Listing(), newLayout);
    EXPECT_EQ(FileNames(store.CategoryFolder()), cleanNewFolder);
}

TEST_F(RenumberTest, tenthEntry_becomesZeroOneZero) {
    std::vector<std::filesystem::path> order = NewOrder();
    for (int i = 20; i < 27; ++i) {
        const std::filesystem::path file = *store.CategoryFileName(0, i);
        const std::string name = "N" + std::to_string(i);
        original[name] = CategoryBytes(name, {});
        WriteBytes(file, original[name]);
        order.push_back(file);
    }
    ASSERT_FALSE(store.RenumberCategories(order));
    const std::vector<std::string> listing = Listing();
    ASSERT_EQ(listing.size(), 10u);
    EXPECT_EQ(listing[9], "Qulan.010=N26");
}

TEST_F(RenumberTest, listThatWouldOverwriteAnUnlistedCategory_isRefused) {
    const StoreError error = store.RenumberCategories({Path("Qulan.009"), Path("Qulan.005")});
    EXPECT_EQ(error.kind, StoreErrorKind::CannotRename);
    EXPECT_NE(error.Message().find("Qulan.002"), std::string::npos);
    EXPECT_EQ(Listing(), oldLayout);
    EXPECT_EQ(store.RenumberCategories({Path("Qulan.009"), Path("Quuse.001")}).kind, StoreErrorKind::CannotRename);
}

int CountSteps(CardStore& store, const std::vector<std::filesystem::path>& order) {
    int steps = 0;
    EXPECT_FALSE(store.RenumberCategories(order, [&](RenumberStep, std::size_t) { return ++steps, true; }));
    return steps;
}

TEST_F(RenumberTest, crashAtAnyStep_isFinishedOrUndoneAtTheNextStart) {
    int steps = 0;
    {
        RenumberWorld dryRun;
        steps = CountSteps(dryRun.store, dryRun.NewOrder());
    }
    ASSERT_GT(steps, 8);
    for (int crashAt = 0; crashAt < steps; ++crashAt) {
        SCOPED_TRACE(crashAt);
        RenumberWorld run;
        int call = 0;
        EXPECT_THROW(run.store.RenumberCategories(run.NewOrder(),
                                                  [&](RenumberStep, std::size_t) {
                                                      if (call++ == crashAt) {
                                                          throw Crash{};
                                                      }
                                                      return true;
                                                  }),
                     Crash);
        ASSERT_FALSE(RecoverInterruptedWork(run.store.CategoryFolder()));
        const std::vector<std::string> listing = run.Listing();
        EXPECT_TRUE(listing == run.oldLayout || listing == run.newLayout) << ::testing::PrintToString(listing);
        const std::vector<std::string> files = FileNames(run.store.CategoryFolder());
        EXPECT_TRUE(files == run.cleanOldFolder || files == run.cleanNewFolder) << ::testing::PrintToString(files);
    }
}

TEST_F(RenumberTest, failingCallAtAnyStep_isReportedAndListsEveryCategoryOnce) {
    int steps = 0;
    {
        RenumberWorld dryRun;
        steps = CountSteps(dryRun.store, dryRun.NewOrder());
    }
    for (int failAt = 0; failAt < steps; ++failAt) {
        SCOPED_TRACE(failAt);
        RenumberWorld run;
        int call = 0;
        const StoreError error =
            run.store.RenumberCategories(run.NewOrder(), [&](RenumberStep, std::size_t) { return call++ != failAt; });
        EXPECT_TRUE(error);
        const std::vector<std::string> before = run.Listing();
        EXPECT_TRUE(before == run.oldLayout || before == run.newLayout) << ::testing::PrintToString(before);

        ASSERT_FALSE(RecoverInterruptedWork(run.store.CategoryFolder()));
        EXPECT_EQ(run.Listing(), before);
        const std::vector<std::string> files = FileNames(run.store.CategoryFolder());
        EXPECT_TRUE(files == run.cleanOldFolder || files == run.cleanNewFolder) << ::testing::PrintToString(files);
    }
}

TEST_F(RenumberTest, damagedJournal_leavesTheFilesAlone) {
    WriteBytes(store.CategoryFolder() / std::string(kRenumberJournalName),
               "QuilletRenumber 2\ncopying\n0\n../etc\t1\t2\n");
    EXPECT_EQ(RecoverInterruptedWork(store.CategoryFolder()).kind, StoreErrorKind::Damaged);
    EXPECT_EQ(Listing(), oldLayout);
}

// A journal that came along with a copied or synced folder: it names the folder's files, but not as they are.
TEST_F(RenumberTest, journalOfAnotherFolder_touchesNoFileItDidNotMake) {
    RenumberWorld elsewhere;
    int call = 0;
    // Stopped after the last file was set aside and one copy made.
    EXPECT_THROW(elsewhere.store.RenumberCategories(elsewhere.NewOrder(),
                                                    [&](RenumberStep step, std::size_t) {
                                                        if (step == RenumberStep::CopyToNumber && call++ == 1) {
                                                            throw Crash{};
                                                        }
                                                        return true;
                                                    }),
                 Crash);
    const std::string journal = ReadBytes(elsewhere.Path(std::string(kRenumberJournalName).c_str()));

    // Here the same names hold other cards, a live Qulan.001 among them, and a set-aside file of our own.
    for (const char* file : {"Qulan.001", "Qulan.002", "Qulan.005", "Qulan.009.!!!"}) {
        WriteBytes(Path(file), CategoryBytes(std::string("live ") + file, {}));
    }
    std::filesystem::remove(Path("Qulan.009"));
    WriteBytes(store.CategoryFolder() / std::string(kRenumberJournalName), journal);
    std::map<std::string, std::string> before;
    for (const std::string& name : FileNames(store.CategoryFolder())) {
        before[name] = ReadBytes(store.CategoryFolder() / name);
    }

    const StoreError error = RecoverInterruptedWork(store.CategoryFolder());
    EXPECT_EQ(error.kind, StoreErrorKind::Damaged);
    EXPECT_NE(error.Message().find("Qulan.009.!!!"), std::string::npos) << error.Message();
    for (const auto& [name, bytes] : before) {
        EXPECT_EQ(ReadBytes(store.CategoryFolder() / name), bytes) << name;
    }
    EXPECT_EQ(FileNames(store.CategoryFolder()).size(), before.size());
}

}  // namespace
}  // namespace quillet
