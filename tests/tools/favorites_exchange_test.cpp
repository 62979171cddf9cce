#include "tools/favorites_exchange.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "../store/test_folder.h"
#include "store/category_file.h"
#include "store/codec.h"
#include "store/data_folder.h"
#include "store/recycle_bin.h"
#include "tools/shortcut_file.h"

namespace quillet {
namespace {

using test::ReadBytes;
using test::WriteBytes;

std::string S(const std::string& utf8) { return ToStoredText(utf8); }

struct Category {
    std::string name;  // UTF-8
    std::vector<CardRecord> cards;
    bool operator==(const Category&) const = default;
};

void PrintTo(const Category& category, std::ostream* out) {
    *out << category.name << " {";
    for (const CardRecord& card : category.cards) {
        *out << " [" << ToUtf8(card.name) << " | " << ToUtf8(card.content) << " | " << card.address << "]";
    }
    *out << " }";
}

// The web library as categories with UTF-8 names and cards in stored text.
std::vector<Category> WebLibrary(const std::filesystem::path& data) {
    std::vector<Category> library;
    for (const std::filesystem::path& file : CategoryFiles(data, 3)) {
        std::string name;
        std::int32_t count = 0;
        CardTable cards;
        EXPECT_FALSE(ReadCategoryFile(file, ReadMode::Full, HeaderCheck::Check, {name, count, &cards}));
        Category category{ToUtf8(name), {}};
        for (std::size_t i = 0; i < cards.Size(); ++i) {
            category.cards.push_back(cards.At(i));
        }
        library.push_back(category);
    }
    return library;
}

class FavoritesExchangeTest : public ::testing::Test {
protected:
    FavoritesExchangeTest() { std::filesystem::create_directories(data); }

    void Shortcut(const std::string& relative, const std::string& address) {
        std::filesystem::create_directories((favorites / relative).parent_path());
        WriteBytes(favorites / relative, ShortcutFileBytes(address));
    }
    FavoritesOutcome Import(bool overwrite, const std::filesystem::path& source) {
        log.clear();
        return ImportFavorites(data, source, overwrite, [this](const std::string& line) { log.push_back(line); });
    }
    FavoritesOutcome Export(const std::filesystem::path& target) {
        log.clear();
        return ExportFavorites(data, target, [this](const std::string& line) { log.push_back(line); });
    }
    void SeedWeb(const char* file, const std::string& name, const std::vector<CardRecord>& cards) {
        CardTable table;
        for (const CardRecord& card : cards) {
            table.Append(card);
        }
        ASSERT_FALSE(WriteCategoryFile(data / file, S(name), table));
    }

    test::TestFolder home;
    std::filesystem::path data = home / "Qu_data";
    std::filesystem::path favorites = home / "Favorites";
    std::vector<std::string> log;
};

TEST_F(FavoritesExchangeTest, anEmptyFolder_logsTheRootHeadingAndThreeZeros_andWritesNothing) {
    std::filesystem::create_directories(favorites);
    const FavoritesOutcome outcome = Import(false, favorites);
    EXPECT_FALSE(outcome.error);
    EXPECT_EQ(log, (std::vector<std::string>{"－－－IE收藏夹根目录下的站点：－－－－－－－－－", " ",
                                             "－－－－－－－－－－－－－－－－－－－－－－－",
                                             "新加站点[0],未覆盖站点[0],覆盖站点[0]"}));
    EXPECT_TRUE(test::FileNames(data).empty());
}

TEST_F(FavoritesExchangeTest, aShortcutTree_becomesCategories_byTheRulesOfLinuxFolders) {
    Shortcut("My site.url", "http://my/");
    Shortcut("abc.URL", "http://abc/");
    WriteBytes(favorites / "readme", "not a shortcut");
    WriteBytes(favorites / "desktop.ini", "[.ShellClassInfo]");
    Shortcut("工具/编辑器.url", "http://editor/");
    Shortcut("工具/深/更深/编辑器.url", "http://editor2/");
    Shortcut("工具/深/格式.url", "http://format/");
    Shortcut("IE收藏夹未分类别站点/合并.url", "http://merged/");
    ASSERT_EQ(::mkfifo((favorites / "工具" / "管道.url").c_str(), 0600), 0);
    std::filesystem::create_directories(home / "outside");
    Shortcut("../outside/escape.url", "http://escape/");
    std::filesystem::create_directory_symlink(home / "outside", favorites / "链接");
    std::filesystem::create_symlink(home / "outside" / "escape.url", favorites / "link.url");

    const FavoritesOutcome outcome = Import(false, favorites);
    EXPECT_FALSE(outcome.error);
    const std::string root = "从IE收藏夹根目录中导入的站点";
    const std::string tools = "从IE收藏夹[工具]栏目中导入的站点";
    const std::string merged = "从IE收藏夹[IE收藏夹未分类别站点]栏目中导入的站点";
    EXPECT_EQ(WebLibrary(data),
              (std::vector<Category>{
                  {"IE收藏夹未分类别站点",
                   {{"My site", S(root), "http://my/"},
                    {"abc", S(root), "http://abc/"},
                    {S("合并"), S(merged), "http://merged/"}}},
                  // Depth first in byte order of the names: 深/更深 comes before 编辑器.url.
                  {"工具", {{S("编辑器"), S(tools), "http://editor2/"}, {S("格式"), S(tools), "http://format/"}}},
              }));
    EXPECT_NE(std::find(log.begin(), log.end(), "编辑器 [未覆盖]"), log.end()) << "the second one of the same name";
    EXPECT_EQ(log.back(), "新加站点[5],未覆盖站点[1],覆盖站点[0]");

    // Again with the switch off: every site is left, and no file changes.
    const std::string first = ReadBytes(data / "Quweb.001");
    const std::string second = ReadBytes(data / "Quweb.002");
    Import(false, favorites);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.ends_with(" [未覆盖]"); }), 6);
    EXPECT_EQ(ReadBytes(data / "Quweb.001"), first);
    EXPECT_EQ(ReadBytes(data / "Quweb.002"), second);

    // With it on, the later "编辑器" is the one that stays, and what it wrote over is in the recycle bin.
    EXPECT_EQ(Import(true, favorites).overwritten, 6);
    EXPECT_EQ(WebLibrary(data)[1].cards[0].address, "http://editor/");
    std::size_t kept = 0;
    for (const TrashItem& item : RecycleBin(data).List()) {
        kept += item.cardNames.size();
    }
    EXPECT_EQ(kept, 6u);
}

TEST_F(FavoritesExchangeTest, export_writesOneShortcutFilePerSite_andNothingOutsideTheFolder) {
    SeedWeb("Quweb.001", "常用网站", {{S("新浪"), S("门户"), "http://www.sina.com.cn/"}});
    const std::filesystem::path target = home / "export";
    ASSERT_FALSE(Export(target).error);
    EXPECT_EQ(test::FileNames(target), (std::vector<std::string>{"常用网站"}));
    EXPECT_EQ(test::FileNames(target / "常用网站"), (std::vector<std::string>{"新浪.url"}));
    EXPECT_EQ(ReadBytes(target / "常用网站" / "新浪.url"), "[InternetShortcut]\r\nURL=http://www.sina.com.cn/\r\n");
    EXPECT_EQ(log, (std::vector<std::string>{"", "常用网站－－－导出站点：[ 1 ]", " ",
                                             "－－－－－－－－－－－－－－－－－－－－－－－",
                                             "导出工作结束,共导出站点[1]个"}));
}

TEST_F(FavoritesExchangeTest, namesThatCannotBeFileNames_areSkippedAndLogged_andTheRestComesBackTheSame) {
    SeedWeb("Quweb.001", "../逃出", {{"x", "", "http://x/"}});
    SeedWeb("Quweb.002", "a/b", {{"x", "", "http://x/"}});
    SeedWeb("Quweb.003", "正常 类别",
            {{S("中文 名称"), S("说明"), "http://ok/"},
             {"../up", "", "http://up/"},
             {"a/b", "", "http://slash/"},
             {"..", "", "http://dots/"},  // "...url" is a file name like any other
             {"two\nlines", "", "http://lines/"},
             {"inject", "", "http://a/\r\nURL=http://evil/"},
             {S("中文 名称"), "", "http://again/"},
             {std::string(300, 'n'), "", "http://long/"}});
    SeedWeb("Quweb.004", "..", {});
    SeedWeb("Quweb.005", "链接", {{"y", "", "http://y/"}});
    const std::filesystem::path target = home / "export";
    std::filesystem::create_directories(home / "elsewhere");
    std::filesystem::create_directories(target);
    std::filesystem::create_directory_symlink(home / "elsewhere", target / "链接");

    const FavoritesOutcome outcome = Export(target);
    EXPECT_EQ(outcome.exported, 2);
    EXPECT_EQ(test::FileNames(home.Path()), (std::vector<std::string>{"Qu_data", "elsewhere", "export"}));
    EXPECT_TRUE(test::FileNames(home / "elsewhere").empty());
    EXPECT_EQ(test::FileNames(target / "正常 类别"), (std::vector<std::string>{"...url", "中文 名称.url"}));
    EXPECT_NE(std::find(log.begin(), log.end(), "正常 类别－－－导出站点：[ 2 ]"), log.end());
    const auto skipped = std::count_if(log.begin(), log.end(), [](const std::string& l) {
        return l.find("未导出") != l.npos || l.find("没有导出") != l.npos;
    });
    EXPECT_EQ(skipped, 10) << ::testing::PrintToString(log);

    // What was exported comes back with its name and address.
    std::filesystem::remove_all(data);
    std::filesystem::create_directories(data);
    Import(false, target);
    const std::vector<Category> back = WebLibrary(data);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, "正常 类别");
    const std::string description = S("从IE收藏夹[正常 类别]栏目中导入的站点");
    EXPECT_EQ(back[0].cards, (std::vector<CardRecord>{{"..", description, "http://dots/"},
                                                      {S("中文 名称"), description, "http://ok/"}}));
}

TEST_F(FavoritesExchangeTest, aBookmarksFile_carriesTheWholeWebLibraryToAnEmptyStoreAndBack) {
    SeedWeb("Quweb.001", "常用网站",
            {{S("新浪"), S("门户\r\n第二行"), "http://www.sina.com.cn/"}, {"Qt", "", "https://qt.io/"}});
    SeedWeb("Quweb.002", "IE收藏夹未分类别站点", {{"top", S("顶层"), "http://top/"}});
    SeedWeb("Quweb.003", "空类别", {});
    const std::vector<Category> before = WebLibrary(data);
    const std::filesystem::path file = home / "out" / "bookmarks.html";
    ASSERT_FALSE(Export(file).error);
    EXPECT_EQ(log.back(), "导出工作结束,共导出站点[3]个");

    std::filesystem::remove_all(data);
    std::filesystem::create_directories(data);
    ASSERT_FALSE(Import(false, file).error);
    std::vector<Category> after = WebLibrary(data);
    std::sort(after.begin(), after.end(), [](const Category& a, const Category& b) { return a.name < b.name; });
    std::vector<Category> expected = before;
    std::sort(expected.begin(), expected.end(), [](const Category& a, const Category& b) { return a.name < b.name; });
    EXPECT_EQ(after, expected);
}

TEST_F(FavoritesExchangeTest, aPathThatIsNotAbsolute_orMissing_isRefused) {
    EXPECT_TRUE(ExpandedFavoritesPath("relative/folder").empty());
    EXPECT_EQ(ExpandedFavoritesPath("~/Favorites").filename(), "Favorites");
    EXPECT_TRUE(Export("relative").error);
    EXPECT_TRUE(Import(false, home / "missing").error);
    EXPECT_TRUE(test::FileNames(data).empty());
}

}  // namespace
}  // namespace quillet
