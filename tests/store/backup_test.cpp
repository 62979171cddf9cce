#include <gtest/gtest.h>
#include <sys/stat.h>

#include "store/backup_file.h"
#include "store/backup_import.h"
#include "store/category_file.h"
#include "store/codec.h"
#include "store/recycle_bin.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::Int32;
using test::LengthPrefixed;
using test::ReadBytes;
using test::WriteBytes;

struct Block {
    std::string name;
    std::vector<CardRecord> cards;
};

// A category block and a whole backup built by hand, field by field.
std::string BlockBytes(const Block& block) {
    std::string bytes = LengthPrefixed(block.name) + Int32(static_cast<std::int32_t>(block.cards.size()));
    for (const CardRecord& card : block.cards) {
        bytes += LengthPrefixed(card.name) + LengthPrefixed(card.content) + LengthPrefixed(card.address);
    }
    return bytes;
}

std::string BackupBytes(const std::vector<std::vector<Block>>& sections,
                        std::string_view header = "QuilletArchive Output File:") {
    std::string bytes = LengthPrefixed(header) + LengthPrefixed("Ver1.0");
    for (std::size_t library = 0; library < 4; ++library) {
        const std::vector<Block> none;
        const std::vector<Block>& blocks = library < sections.size() ? sections[library] : none;
        bytes += Int32(static_cast<std::int32_t>(blocks.size()));
        for (const Block& block : blocks) {
            bytes += BlockBytes(block);
        }
    }
    return bytes;
}

class BackupTest : public ::testing::Test {
protected:
    BackupTest() : data(home / "Qu_data") { std::filesystem::create_directory(data); }

    void Seed(const char* file, const std::string& name, const std::vector<CardRecord>& cards) {
        WriteBytes(data / file, CategoryBytes(name, cards));
    }
    std::vector<CardRecord> CardsOf(const char* file) {
        std::string name;
        std::int32_t count = 0;
        CardTable cards;
        EXPECT_FALSE(ReadCategoryFile(data / file, ReadMode::Full, HeaderCheck::Check, {name, count, &cards}));
        std::vector<CardRecord> records;
        for (std::size_t i = 0; i < cards.Size(); ++i) {
            records.push_back(cards.At(i));
        }
        return records;
    }
    // The log in UTF-8.
    std::vector<std::string> Import(const std::string& backupBytes, bool overwrite, ImportOutcome* outcome = nullptr,
                                    bool dryRun = false) {
        WriteBytes(home / "in.quo", backupBytes);
        std::vector<std::string> log;
        const ImportOutcome result = ImportBackup(data, home / "in.quo", {overwrite, dryRun},
                                                  [&log](const std::string& line) { log.push_back(ToUtf8(line)); });
        if (outcome) {
            *outcome = result;
        }
        return log;
    }

    test::TestFolder home;
    std::filesystem::path data;
};

TEST_F(BackupTest, export_isByteExact) {
    const std::string empty = LengthPrefixed("QuilletArchive Output File:") + LengthPrefixed("Ver1.0") + Int32(0) +
                              Int32(0) + Int32(0) + Int32(0);
    ASSERT_EQ(empty.size(), 51u);
    ExportOutcome outcome = ExportBackup(data, home / "a.quo");
    ASSERT_FALSE(outcome.error) << outcome.error.Message();
    EXPECT_EQ(ReadBytes(home / "a.quo"), empty);
    // No data folder at all: the same four empty sections.
    EXPECT_FALSE(ExportBackup(home / "missing", home / "b.quo").error);
    EXPECT_EQ(ReadBytes(home / "b.quo"), empty);

    // A category without cards, fields around each prefix length, and a site; sections in library order.
    const std::vector<CardRecord> cards = {{std::string(254, 'a'), std::string(255, 'b'), ""},
                                           {"c", std::string(65535, 'c'), ""},
                                           {ToStoredText("中文"), "", ""}};
    Seed("Quown.001", "empty", {});
    Seed("Qulan.002", "second", cards);
    Seed("Qulan.001", "first", {{"x", "y", ""}});
    Seed("Quweb.001", "sites", {{"s", "d", "https://a.example/"}});
    outcome = ExportBackup(data, home / "c.quo");
    ASSERT_FALSE(outcome.error);
    EXPECT_EQ(ReadBytes(home / "c.quo"), BackupBytes({{{"first", {{"x", "y", ""}}}, {"second", cards}},
                                                      {},
                                                      {{"empty", {}}},
                                                      {{"sites", {{"s", "d", "https://a.example/"}}}}}));
    EXPECT_EQ(outcome.categories, (std::array<int, 4>{2, 0, 1, 1}));
    EXPECT_TRUE(outcome.leftOut.empty());
}

TEST_F(BackupTest, export_leavesOutAForeignFileAndSaysSo_andWritesThroughALink) {
    Seed("Qulan.001", "a", {{"x", "", ""}});
    WriteBytes(data / "Qulan.txt", "这只是一个文本文件\n");
    Seed("Qulan.002", "b", {});
    WriteBytes(data / "Qulan.003", CategoryBytes("cut", {{"x", "long", ""}}).substr(0, 40));
    WriteBytes(data / "Qulan.004", CategoryBytes("other", {}, "Another Program File:"));
    std::filesystem::create_directory(home / "real");
    WriteBytes(home / "real" / "old.quo", "older backup");
    std::filesystem::create_symlink(home / "real" / "old.quo", home / "link.quo");

    const ExportOutcome outcome = ExportBackup(data, home / "link.quo");
    ASSERT_FALSE(outcome.error) << outcome.error.Message();
    ASSERT_EQ(outcome.leftOut.size(), 3u);
    EXPECT_NE(outcome.leftOut[0].find("Qulan.003"), std::string::npos);
    EXPECT_NE(outcome.leftOut[1].find("Qulan.004"), std::string::npos);
    EXPECT_NE(outcome.leftOut[1].find("不是类别文件"), std::string::npos);
    EXPECT_NE(outcome.leftOut[2].find("Qulan.txt"), std::string::npos);
    EXPECT_EQ(outcome.categories[0], 2);
    EXPECT_TRUE(std::filesystem::is_symlink(home / "link.quo"));
    EXPECT_EQ(ReadBytes(home / "real" / "old.quo"), BackupBytes({{{"a", {{"x", "", ""}}}, {"b", {}}}}));
}

TEST_F(BackupTest, export_thatCannotWrite_leavesTheOlderBackupAlone) {
    WriteBytes(home / "old.quo", "older backup");
    ::chmod((home / "old.quo").c_str(), 0444);
    const ExportOutcome outcome = ExportBackup(data, home / "old.quo");
    ::chmod((home / "old.quo").c_str(), 0644);
    EXPECT_TRUE(outcome.error);
    EXPECT_EQ(ReadBytes(home / "old.quo"), "older backup");
}

TEST_F(BackupTest, merge_followsTheRulesOfNamesAndNumbers) {
    const struct {
        const char* what;
        std::vector<std::pair<const char*, Block>> existing;  // file, category
        std::vector<std::vector<Block>> backup;
        bool overwrite;
        std::vector<std::string> log;  // after each section's empty line and marker
        std::vector<std::pair<const char*, std::vector<CardRecord>>> after;
    } cases[] = {
        {"into an empty store",
         {},
         {{{"a", {{"1", "x", ""}}}, {"b", {}}}},
         false,
         {" ++ a ", " ++++++++++++++++++++++++++++++ 加入新卡片:[1]", " ++ b ",
          " ++++++++++++++++++++++++++++++ 加入新卡片:[0]"},
         {{"Qulan.001", {{"1", "x", ""}}}, {"Qulan.002", {}}}},
        {"duplicates, switch off",
         {{"Qulan.001", {"a", {{"1", "old", ""}}}}},
         {{{"a", {{"1", "new", ""}}}}},
         false,
         {" ++ a", " 原卡片:[1],待加卡片:[1],新加:[0],覆盖:[0] ", " +++++++++++++++++++++++++++++++++++++++++++++++++"},
         {{"Qulan.001", {{"1", "old", ""}}}}},
        {"duplicates, switch on",
         {{"Qulan.001", {"a", {{"1", "old", ""}, {"2", "keep", ""}}}}},
         {{{"a", {{"1", "new", "adr"}, {"3", "added", ""}}}}},
         true,
         {" ++ a", " 原卡片:[2],待加卡片:[2],新加:[1],覆盖:[1] ", " +++++++++++++++++++++++++++++++++++++++++++++++++"},
         {{"Qulan.001", {{"1", "new", "adr"}, {"2", "keep", ""}, {"3", "added", ""}}}}},
        {"two incoming of one existing name, on: the second wins",
         {{"Qulan.001", {"a", {{"n", "old", ""}}}}},
         {{{"a", {{"n", "first", ""}, {"n", "second", ""}}}}},
         true,
         {" ++ a", " 原卡片:[1],待加卡片:[2],新加:[0],覆盖:[2] ", " +++++++++++++++++++++++++++++++++++++++++++++++++"},
         {{"Qulan.001", {{"n", "second", ""}}}}},
        {"two incoming of one existing name, off",
         {{"Qulan.001", {"a", {{"n", "old", ""}}}}},
         {{{"a", {{"n", "first", ""}, {"n", "second", ""}}}}},
         false,
         {" ++ a", " 原卡片:[1],待加卡片:[2],新加:[0],覆盖:[0] ", " +++++++++++++++++++++++++++++++++++++++++++++++++"},
         {{"Qulan.001", {{"n", "old", ""}}}}},
        {"two incoming of one new name are both added",
         {{"Qulan.001", {"a", {}}}},
         {{{"a", {{"n", "first", ""}, {"n", "second", ""}}}}},
         true,
         {" ++ a", " 原卡片:[0],待加卡片:[2],新加:[2],覆盖:[0] ", " +++++++++++++++++++++++++++++++++++++++++++++++++"},
         {{"Qulan.001", {{"n", "first", ""}, {"n", "second", ""}}}}},
        {"case and a trailing blank make other names; a gap at 002 is taken first",
         {{"Qulan.001", {"Name", {}}}, {"Qulan.003", {"x", {}}}},
         {{{"name", {}}, {"Name ", {}}}},
         false,
         {" ++ name ", " ++++++++++++++++++++++++++++++ 加入新卡片:[0]", " ++ Name  ",
          " ++++++++++++++++++++++++++++++ 加入新卡片:[0]"},
         {{"Qulan.002", {}}, {"Qulan.004", {}}}},
        {"a same-named category of another library is no match",
         {{"Quuse.001", {"a", {{"u", "", ""}}}}},
         {{{"a", {{"l", "", ""}}}}},
         false,
         {" ++ a ", " ++++++++++++++++++++++++++++++ 加入新卡片:[1]"},
         {{"Qulan.001", {{"l", "", ""}}}, {"Quuse.001", {{"u", "", ""}}}}},
        {"the first of two same-named categories takes the cards",
         {{"Qulan.001", {"a", {}}}, {"Qulan.002", {"a", {}}}},
         {{{"a", {{"1", "", ""}}}}},
         false,
         {" ++ a", " 原卡片:[0],待加卡片:[1],新加:[1],覆盖:[0] ", " +++++++++++++++++++++++++++++++++++++++++++++++++"},
         {{"Qulan.001", {{"1", "", ""}}}, {"Qulan.002", {}}}},
        {"a category created by the import takes a later block of its name",
         {},
         {{{"a", {{"1", "", ""}}}, {"a", {{"2", "", ""}}}}},
         false,
         {" ++ a ", " ++++++++++++++++++++++++++++++ 加入新卡片:[1]", " ++ a",
          " 原卡片:[1],待加卡片:[1],新加:[1],覆盖:[0] ", " +++++++++++++++++++++++++++++++++++++++++++++++++"},
         {{"Qulan.001", {{"1", "", ""}, {"2", "", ""}}}}},
    };
    for (const auto& c : cases) {
        for (const bool dryRun : {true, false}) {
            std::filesystem::remove_all(data);
            std::filesystem::create_directory(data);
            for (const auto& [file, category] : c.existing) {
                Seed(file, category.name, category.cards);
            }
            std::vector<std::string> before;
            for (const auto& entry : std::filesystem::directory_iterator(data)) {
                before.push_back(entry.path().filename().string() + ReadBytes(entry.path()));
            }
            ImportOutcome outcome;
            const std::vector<std::string> log = Import(BackupBytes(c.backup), c.overwrite, &outcome, dryRun);
            std::vector<std::string> expected = {"", "【编程资料】:"};
            expected.insert(expected.end(), c.log.begin(), c.log.end());
            for (const char* marker : {"【软件资料】:", "【我的资料】:", "【网络资源】:"}) {
                expected.insert(expected.end(), {"", marker});
            }
            EXPECT_EQ(log, expected) << c.what << (dryRun ? " (dry run)" : "");
            EXPECT_EQ(outcome.end, ImportEnd::Finished) << c.what;
            if (dryRun) {
                std::vector<std::string> now;
                for (const auto& entry : std::filesystem::directory_iterator(data)) {
                    now.push_back(entry.path().filename().string() + ReadBytes(entry.path()));
                }
                EXPECT_EQ(now, before) << c.what << ": a dry run writes nothing";
                continue;
            }
            for (const auto& [file, cards] : c.after) {
                EXPECT_EQ(CardsOf(file), cards) << c.what << ", " << file;
            }
        }
    }
}

TEST_F(BackupTest, import_refusesWhatItCannotRead_andNeverWritesFromHalfACategory) {
    // Not a file, a foreign header, a valid header with nothing in it.
    std::filesystem::create_directory(home / "folder.quo");
    EXPECT_EQ(ImportBackup(data, home / "folder.quo", {}, [](const std::string&) {}).end, ImportEnd::CannotOpen);
    ASSERT_EQ(::mkfifo((home / "pipe.quo").c_str(), 0600), 0);
    EXPECT_EQ(ImportBackup(data, home / "pipe.quo", {}, [](const std::string&) {}).end, ImportEnd::CannotOpen)
        << "a FIFO is refused, never waited on";
    ImportOutcome outcome;
    EXPECT_TRUE(Import(BackupBytes({}, "Something Else"), false, &outcome).empty());
    EXPECT_EQ(outcome.end, ImportEnd::BadHeader);
    EXPECT_EQ(Import(BackupBytes({}), false, &outcome).size(), 8u);
    EXPECT_EQ(outcome.filesWritten, 0);
    EXPECT_TRUE(test::FileNames(data).empty());

    // A damaged block stops the import there; what was written before stays.
    std::string damaged = BackupBytes({{{"a", {{"1", "", ""}}}, {"b", {{"2", std::string(100, 'x'), ""}}}}});
    damaged.resize(damaged.size() - 60);
    Import(damaged, false, &outcome);
    EXPECT_EQ(outcome.end, ImportEnd::Failed);
    EXPECT_EQ(outcome.error.kind, StoreErrorKind::Damaged);
    EXPECT_EQ(test::FileNames(data), std::vector<std::string>{"Qulan.001"});

    // A count far beyond what the file holds is refused before anything is allocated.
    Import(LengthPrefixed("QuilletArchive Output File:") + LengthPrefixed("Ver1.0") + Int32(1) + LengthPrefixed("c") +
               Int32(0x7fffffff),
           false, &outcome);
    EXPECT_EQ(outcome.end, ImportEnd::Failed);

    // The matching category is damaged behind its header: the import stops naming it and leaves it alone.
    const std::string half = CategoryBytes("m", {{"1", std::string(300, 'y'), ""}}).substr(0, 60);
    WriteBytes(data / "Quuse.001", half);
    Import(BackupBytes({{}, {{"m", {{"2", "", ""}}}}}), true, &outcome);
    EXPECT_EQ(outcome.end, ImportEnd::Failed);
    EXPECT_EQ(outcome.error.file, data / "Quuse.001");
    EXPECT_EQ(ReadBytes(data / "Quuse.001"), half);

    // A file that cannot be replaced stops the import with its name; its log lines never come.
    Seed("Quown.001", "ro", {});
    ::chmod((data / "Quown.001").c_str(), 0444);
    const std::vector<std::string> log = Import(BackupBytes({{}, {}, {{"ro", {{"1", "", ""}}}}}), false, &outcome);
    ::chmod((data / "Quown.001").c_str(), 0644);
    EXPECT_EQ(outcome.end, ImportEnd::Failed);
    EXPECT_EQ(outcome.error.kind, StoreErrorKind::CannotWrite);
    EXPECT_EQ(outcome.error.file, data / "Quown.001");
    EXPECT_EQ(log.back(), "【我的资料】:");
}

TEST_F(BackupTest, exportThenImport_intoAnEmptyStore_givesTheSameCategories) {
    Seed("Qulan.004", ToStoredText("算法"), {{"1", ToStoredText("快速排序"), ""}, {"2", "", ""}});
    Seed("Quweb.002", "sites", {{"s", "d", "https://a.example/"}});
    ASSERT_FALSE(ExportBackup(data, home / "all.quo").error);
    const std::filesystem::path other = home / "other";
    std::filesystem::create_directory(other);
    const ImportOutcome outcome = ImportBackup(other, home / "all.quo", {}, [](const std::string&) {});
    EXPECT_EQ(outcome.end, ImportEnd::Finished);
    EXPECT_EQ(outcome.filesWritten, 2);
    EXPECT_EQ(ReadBytes(other / "Qulan.001"), ReadBytes(data / "Qulan.004"));
    EXPECT_EQ(ReadBytes(other / "Quweb.001"), ReadBytes(data / "Quweb.002"));

    // Again: nothing gained, nothing written, not even a file in another form than the writer's.
    const std::string foreignForm = ReadBytes(other / "Qulan.001") + "trailing bytes";
    WriteBytes(other / "Qulan.001", foreignForm);
    const ImportOutcome again = ImportBackup(other, home / "all.quo", {}, [](const std::string&) {});
    EXPECT_EQ(again.end, ImportEnd::Finished);
    EXPECT_EQ(again.filesWritten, 0);
    EXPECT_EQ(ReadBytes(other / "Qulan.001"), foreignForm);
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

TEST_F(BackupTest, cardsAnImportWritesOver_areKeptInTheRecycleBin) {
    Seed("Quuse.001", "tools", {{"keep", "mine", ""}, {"same", "my text", ""}});
    Import(BackupBytes({{}, {{"tools", {{"same", "their text", ""}, {"new", "n", ""}}}}}), true);
    EXPECT_EQ(CardsOf("Quuse.001"),
              (std::vector<CardRecord>{{"keep", "mine", ""}, {"same", "their text", ""}, {"new", "n", ""}}));
    RecycleBin bin(data);
    const std::vector<TrashItem> items = bin.List();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].library, 1);
    EXPECT_EQ(items[0].categoryName, "tools");
    EXPECT_EQ(items[0].cardNames, std::vector<std::string>{"same"});
    ASSERT_FALSE(bin.Restore(items[0].id));
    EXPECT_EQ(CardsOf("Quuse.001").back(), (CardRecord{"same" + ToStoredText("（恢复）"), "my text", ""}));

    Import(BackupBytes({{}, {{"tools", {{"keep", "other", ""}}}}}), false);
    EXPECT_TRUE(bin.List().empty()) << "nothing is written over without the switch";
}

}  // namespace
}  // namespace quillet
