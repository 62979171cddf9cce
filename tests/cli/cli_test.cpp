#include "cli/cli.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

#include "../store/test_folder.h"
#include "store/card_store.h"
#include "store/codec.h"
#include "store/data_folder.h"
#include "store/recycle_bin.h"

namespace quillet {
namespace {

using test::CategoryBytes;
constexpr auto FileNamesOf = test::FileNames;
using test::ReadBytes;
using test::TestFolder;
using test::WriteBytes;

struct Result {
    int status;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    CliTest() { ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1); }

    Result Run(std::vector<std::string> args, const std::string& input = {}) {
        args.insert(args.begin(), {"--home", home.Path().string()});
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, in, out, err);
        return {status, out.str(), err.str()};
    }

    std::filesystem::path Data(const char* file) const { return home / "Qu_data" / file; }

    TestFolder runtime;
    TestFolder home;
};

TEST_F(CliTest, newCategoryAddAndRead_roundTripByteForByte) {
    EXPECT_EQ(Run({"new-category", "编程资料", "编程"}).out, "Qulan.001\n");
    EXPECT_EQ(Run({"new-category", "0", "工具"}).out, "Qulan.002\n");
    EXPECT_EQ(Run(
                  {
                      "add",
                      "Qulan",
                      "编程",
                      "第一",
                  },
                  "行一\r\n行二")
                  .status,
              0);
    EXPECT_EQ(Run({"add", "0", "编程", "  "}, "two blanks are a name").status, 0);

    EXPECT_EQ(ReadBytes(Data("Qulan.001")),
              CategoryBytes("\xB1\xE0\xB3\xCC", {{"\xB5\xDA\xD2\xBB", "\xD0\xD0\xD2\xBB\r\n\xD0\xD0\xB6\xFE", ""},
                                                 {"  ", "two blanks are a name", ""}}));
    EXPECT_EQ(Run({"categories", "0"}).out, "Qulan.001\t2\t编程\nQulan.002\t0\t工具\n");
    EXPECT_EQ(Run({"cards", "0", "编程"}).out, "第一\n  \n");
    EXPECT_EQ(Run({"show", "0", "编程", "第一"}).out, "行一\n行二");
    EXPECT_EQ(Run({"show", "0", "编程", "第一", "--raw"}).out, "行一\r\n行二");
}

TEST_F(CliTest, sites_showInTheEditorLayout) {
    Run({"new-category", "网络资源", "站点"});
    EXPECT_EQ(Run({"add", "Quweb", "站点", "青榆", "--address", "http://example.org"}, "说明").status, 0);
    EXPECT_EQ(Run({"add", "3", "站点", "空"}).status, 0);
    EXPECT_EQ(Run({"cards", "3", "站点"}).out, "青榆\thttp://example.org\n空\t\n");
    EXPECT_EQ(Run({"show", "3", "站点", "青榆"}).out, "青榆  [ http://example.org ]\n\n说明");
    EXPECT_EQ(Run({"show", "3", "站点", "空"}).out, "空  [  ]\n\n");
}

TEST_F(CliTest, refusals_sayWhyAndChangeNothing) {
    Run({"new-category", "1", "类"});
    Run({"add", "1", "类", "Card"}, "x");
    const std::string before = ReadBytes(Data("Quuse.001"));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"new-category", "1", "类"}, 1, "这个类型已经存在，不能重复加入！"},
        {{"add", "1", "类", "Card"}, 1, "卡片名已经存在，不能重复加入！"},
        {{"add", "1", "类", ""}, 1, "请输入卡片名！"},
        {{"add", "1", "类", " "}, 1, "请输入卡片名！"},
        {{"add", "1", "无", "x"}, 1, "没有这个类别"},
        {{"show", "1", "类", "card"}, 1, "没有这张卡片"},
        {{"add", "1", "类", "x", "--address", "http://a"}, 2, "网址"},
        {{"cards", "9", "类"}, 2, "没有这个资料库"},
        {{"frobnicate"}, 2, "用法"},
        {{}, 2, "用法"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Result result = Run(c.args, "input");
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(ReadBytes(Data("Quuse.001")), before);
    EXPECT_EQ(Run({"add", "1", "类", "card"}).status, 0) << "names differing in case are two cards";

    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--home", (home / "missing").string(), "new-category", "0", "x"}, in, out, err), 1);
    EXPECT_EQ(err.str(), "程序文件夹“" + (home / "missing").string() + "”不存在\n");
    EXPECT_FALSE(std::filesystem::exists(home / "missing"));
}

TEST_F(CliTest, damagedFiles_areReportedAndLeftOut) {
    std::filesystem::create_directory(home / "Qu_data");
    WriteBytes(Data("Qulan.001"), CategoryBytes("good", {{"a", "b", ""}}));
    WriteBytes(Data("Qulan.002"), CategoryBytes("foreign", {}, "NotOurHeader"));
    const std::string whole = CategoryBytes("cut", {{"a", "b", ""}, {"c", "d", ""}});
    WriteBytes(Data("Quown.001"), whole.substr(0, whole.size() - 3));

    const Result categories = Run({"categories", "0"});
    EXPECT_EQ(categories.status, 1);
    EXPECT_EQ(categories.out, "Qulan.001\t1\tgood\n");
    EXPECT_NE(categories.err.find("文件格式非法！不能读出"), std::string::npos);
    EXPECT_NE(categories.err.find("Qulan.002"), std::string::npos);

    const Result cards = Run({"cards", "2", "cut"});
    EXPECT_EQ(cards.status, 1);
    EXPECT_EQ(cards.out, "a\n");

    const Result add = Run({"add", "2", "cut", "new"});
    EXPECT_EQ(add.status, 1);
    EXPECT_EQ(ReadBytes(Data("Quown.001")), whole.substr(0, whole.size() - 3)) << "never truncated further";

    const Result check = Run({"check"});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find("Qulan.002\t"), std::string::npos);
    EXPECT_NE(check.out.find("Quown.001\t"), std::string::npos);
    EXPECT_EQ(check.out.find("Qulan.001"), std::string::npos);
}

TEST_F(CliTest, writes_areRefusedWhileTheProgramHoldsTheDataFolder) {
    Run({"new-category", "0", "类"});
    CardStore program(home.Path());
    ASSERT_FALSE(program.AcquireDataLock("青榆资料夹", DataFolderLock::Hold::WholeRun));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"add", "0", "类", "x"}, std::vector<std::string>{"new-category", "0", "新"},
          std::vector<std::string>{"search", "x", "--save"},
          std::vector<std::string>{"restore", (home / "none.quo").string()},
          std::vector<std::string>{"favorites", "import", (home / "none.html").string()},
          std::vector<std::string>{"trash", "empty"}}) {
        const Result refused = Run(args);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("资料文件夹正在被青榆资料夹（进程 " + std::to_string(::getpid()) + "）使用"),
                  std::string::npos)
            << refused.err;
    }
    EXPECT_EQ(Run({"cards", "0", "类"}).status, 0) << "reading goes on";
    EXPECT_EQ(Run({"search", "x"}).status, 0) << "searching without saving too";
    EXPECT_FALSE(std::filesystem::exists(Data("Quillet.sch")));
    program.ReleaseDataLock();
    EXPECT_EQ(Run({"add", "0", "类", "x"}).status, 0);
    EXPECT_EQ(Run({"categories", "0"}).out, "Qulan.001\t1\t类\n");
}

TEST_F(CliTest, backupRestoreAndStats_carryTheStore_andADryRunPrintsTheSameLogWritingNothing) {
    Run({"new-category", "0", "编程"});
    Run({"add", "0", "编程", "第一"}, "内容");
    const Result backup = Run({"backup", (home / "all").string()});
    EXPECT_EQ(backup.status, 0) << backup.err;
    EXPECT_EQ(backup.out, "已备份 1 个类别、1 张卡片\n");
    ASSERT_TRUE(std::filesystem::exists(home / "all.quo")) << "the extension is added";

    TestFolder other;
    const auto restore = [&other](std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", other.Path().string(), "restore"});
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, in, out, err);
        return Result{status, out.str(), err.str()};
    };
    const std::string log =
        "\n【编程资料】:\n ++ 编程 \n ++++++++++++++++++++++++++++++ "
        "加入新卡片:[1]\n\n【软件资料】:\n\n【我的资料】:\n\n"
        "【网络资源】:\n";
    const Result dry = restore({(home / "all.quo").string(), "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out, log);
    EXPECT_FALSE(std::filesystem::exists(other / "Qu_data"));
    const Result real = restore({(home / "all.quo").string()});
    EXPECT_EQ(real.out, log);
    EXPECT_EQ(test::ReadBytes(other / "Qu_data" / "Qulan.001"), test::ReadBytes(Data("Qulan.001")));
    const Result again = restore({(home / "all.quo").string(), "--overwrite"});
    EXPECT_NE(again.out.find(" 原卡片:[1],待加卡片:[1],新加:[0],覆盖:[1] \n"), std::string::npos);

    const Result stats = Run({"stats"});
    EXPECT_EQ(stats.status, 0);
    EXPECT_NE(stats.out.find("\n“编程资料”栏:\n 1） 编程 [卡片:1]\n"), std::string::npos) << stats.out;

    const Result missing = restore({(home / "none.quo").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "导入文件不能打开！\n");
}

TEST_F(CliTest, search_printsOneLinePerResultAndSavesThemForTheReadingWindow) {
    std::filesystem::create_directory(home / "Qu_data");
    WriteBytes(Data("Qulan.001"),
               CategoryBytes("\xB1\xE0\xB3\xCC", {{"Qt tab\there", "\xD0\xC5\xBA\xC5 and slots", ""}}));
    WriteBytes(Data("Quweb.001"), CategoryBytes("web", {{"qt", "Qt \xD6\xF7\xD2\xB3", "http://qt.example"}}));
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"search", "Qt"}, "编程资料\t编程\tQt tab\\there\n"},
        {{"search", "Qt", "--by", "content"}, "网络资源\tweb\tqt\thttp://qt.example\n"},
        {{"search", "t", "--lib", "3", "--lib", "编程资料"},
         "编程资料\t编程\tQt tab\\there\n网络资源\tweb\tqt\thttp://qt.example\n"},
        {{"search", "qt", "--lib", "Qulan"}, ""},
        {{"--ignore-case", "search", "qt"}, ""},
        {{"search", "--ignore-case", "qt", "--lib", "0"}, "编程资料\t编程\tQt tab\\there\n"},
        {{"search", "slots 信号", "--all-words", "--by", "content"}, "编程资料\t编程\tQt tab\\there\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Result result = Run(c.args);
        EXPECT_EQ(result.out, c.out);
    }
    EXPECT_FALSE(std::filesystem::exists(Data("Quillet.sch"))) << "only --save writes the results";

    ASSERT_EQ(Run({"search", "主页", "--by", "content", "--save"}).status, 0);
    EXPECT_EQ(ReadBytes(Data("Quillet.sch")), "\x04\xD6\xF7\xD2\xB3" + test::Int32(1) + test::LengthPrefixed("qt") +
                                                  test::LengthPrefixed("Qt \xD6\xF7\xD2\xB3") +
                                                  test::LengthPrefixed("http://qt.example"));
}

TEST_F(CliTest, search_refusesBadRequestsAndNamesDamagedFiles) {
    std::filesystem::create_directory(home / "Qu_data");
    WriteBytes(Data("Qulan.001"), CategoryBytes("good", {{"a", "", ""}}));
    WriteBytes(Data("Qulan.002"), CategoryBytes("foreign", {{"a", "", ""}}, "NotOurHeader"));
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"search", ""}, 1, "搜索字串不能为空！"},
        {{"search"}, 2, "请给出要查找的文字"},
        {{"search", "a", "--by", "title"}, 2, "name、content 或 both"},
        {{"search", "a", "--lib", "9"}, 2, "没有这个资料库"},
        {{"search", "a", "b"}, 2, "只能给出一个"},
        {{"search", "a", "--bogus"}, 2, "不认识的选项"},
        {{"search", "a"}, 1, "Qulan.002"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Result result = Run(c.args);
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(Run({"search", "a"}).out, "编程资料\tgood\ta\n") << "the damaged file is left out, the rest found";
    EXPECT_EQ(Run({"search", "--", "--raw"}).err.find("用法"), std::string::npos)
        << "after -- a text may look like an option";
}

TEST_F(CliTest, lineEnds_becomeCrLfUnlessRaw) {
    Run({"new-category", "0", "类"});
    Run({"add", "0", "类", "lf"}, "a\nb\r\nc\n");
    Run({"add", "0", "类", "raw", "--raw"}, "a\nb");
    EXPECT_EQ(ReadBytes(Data("Qulan.001")),
              CategoryBytes("\xC0\xE0", {{"lf", "a\r\nb\r\nc\r\n", ""}, {"raw", "a\nb", ""}}));
}

TEST_F(CliTest, controlCharactersInStoredNames_areShownEscaped) {
    std::filesystem::create_directory(home / "Qu_data");
    WriteBytes(Data("Qulan.001"), CategoryBytes("a\nb\x1b[31m", {{"t\tab\\", "\x1b]0;x\x07 text\r\nline", ""}}));
    EXPECT_EQ(Run({"categories", "0"}).out, "Qulan.001\t1\ta\\nb\\x1b[31m\n");
    EXPECT_EQ(Run({"cards", "0", "a\nb\x1b[31m"}).out, "t\\tab\\\\\n");
    EXPECT_EQ(Run({"show", "0", "a\nb\x1b[31m", "t\tab\\"}).out, "\\x1b]0;x\\x07 text\nline");
}

TEST_F(CliTest, invalidUtf8_isRefusedNotStoredAsReplacement) {
    Run({"new-category", "0", "类"});
    const std::string before = ReadBytes(Data("Qulan.001"));
    for (const auto& [args, input] :
         {std::pair{std::vector<std::string>{"add", "0", "类", "bad\xFF"}, std::string("x")},
          {std::vector<std::string>{"new-category", "0", "\xC0\x80"}, std::string()},
          {std::vector<std::string>{"add", "0", "类", "ok"}, std::string("\xED\xA0\x80")}}) {
        const Result refused = Run(args, input);
        EXPECT_EQ(refused.status, 2);
        EXPECT_NE(refused.err.find("UTF-8"), std::string::npos);
    }
    EXPECT_EQ(ReadBytes(Data("Qulan.001")), before);
    EXPECT_EQ(FileNamesOf(home / "Qu_data"), (std::vector<std::string>{"Quillet.lock", "Qulan.001"}));
}

TEST_F(CliTest, unlistableFolderAndSetAsideFiles_makeCheckFail) {
    std::filesystem::create_directory(home / "Qu_data");
    WriteBytes(Data("Qulan.001"), CategoryBytes("good", {}));
    EXPECT_EQ(Run({"check"}).status, 0);
    WriteBytes(Data("Qulan.002.!!!"), CategoryBytes("hidden", {{"a", "b", ""}}));
    const Result aside = Run({"check"});
    EXPECT_EQ(aside.status, 1);
    EXPECT_NE(aside.out.find("Qulan.002.!!!\t"), std::string::npos) << aside.out;

    std::filesystem::remove_all(home / "Qu_data");
    WriteBytes(home / "Qu_data", "not a folder");
    const Result unlistable = Run({"check"});
    EXPECT_EQ(unlistable.status, 1);
    EXPECT_NE(unlistable.out.find("Qu_data"), std::string::npos) << unlistable.out;
    EXPECT_EQ(Run({"categories", "0"}).status, 1);
}

// The real tool, through its real streams: text outside the code page comes back unchanged.
TEST_F(CliTest, toolProcess_keepsTextOutsideTheCodePage) {
    const std::string home_ = home.Path().string();
    const std::string tool = QUILLET_CLI_PATH;
    ASSERT_EQ(std::system((tool + " --home '" + home_ + "' new-category 2 '𠀀类' >/dev/null").c_str()), 0);
    ASSERT_EQ(std::system(("printf '😀 emoji\\r\\n' | " + tool + " --home '" + home_ + "' add 2 '𠀀类' '卡😀'").c_str()),
              0);
    FILE* pipe = ::popen((tool + " --home '" + home_ + "' show 2 '𠀀类' '卡😀'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string shown;
    char buffer[256];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        shown.append(buffer, n);
    }
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(shown, "😀 emoji\n");
    EXPECT_EQ(
        ReadBytes(Data("Quown.001")),
        CategoryBytes("\x95\x32\x82\x36\xC0\xE0", {{"\xBF\xA8\x94\x39\xFC\x36", "\x94\x39\xFC\x36 emoji\r\n", ""}}));
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

TEST_F(CliTest, favorites_exportAndImportPrintTheDialogsLog) {
    Run({"new-category", "3", "常用网站"});
    Run({"add", "3", "常用网站", "新浪", "--address", "http://www.sina.com.cn/"}, "门户");
    const std::string file = (home / "书签.html").string();
    const Result exported = Run({"favorites", "export", file});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out,
              "\n常用网站－－－导出站点：[ 1 ]\n "
              "\n－－－－－－－－－－－－－－－－－－－－－－－\n导出工作结束,共导出站点[1]个\n");
    const Result imported = Run({"favorites", "import", file, "--overwrite"});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find("\n新浪 [已覆盖]\n"), std::string::npos) << imported.out;
    EXPECT_TRUE(imported.out.ends_with("新加站点[0],未覆盖站点[0],覆盖站点[1]\n"));
    EXPECT_EQ(Run({"show", "3", "常用网站", "新浪"}).out, "新浪  [ http://www.sina.com.cn/ ]\n\n门户");
    EXPECT_EQ(Run({"favorites", "sideways", file}).status, 2);
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

TEST_F(CliTest, trash_listsRestoresAndEmptiesTheRecycleBin) {
    Run({"new-category", "0", "旧类别"});
    Run({"add", "0", "旧类别", "卡片"}, "text");
    const std::string bytes = ReadBytes(Data("Qulan.001"));
    RecycleBin bin(home / "Qu_data");
    std::string category, cards;
    ASSERT_FALSE(bin.TrashCategory(Data("Qulan.001"), 0, &category));
    CardTable table;
    table.Append({ToStoredText("网站"), ToStoredText("说明"), "http://a/"});
    ASSERT_FALSE(bin.TrashCards(3, ToStoredText("常用"), table, &cards));

    const Result list = Run({"trash", "list"});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find(cards + "\t"), std::string::npos);
    EXPECT_NE(list.out.find("\t网络资源\t常用\t网站\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\t编程资料\t旧类别\t（整个类别，1 张卡片）\n"), std::string::npos) << list.out;
    EXPECT_LT(list.out.find(cards), list.out.find(category)) << "newest first";

    EXPECT_EQ(Run({"trash", "restore", category}).out, "Qulan.001\t旧类别\n");
    EXPECT_EQ(ReadBytes(Data("Qulan.001")), bytes);
    EXPECT_EQ(Run({"trash", "restore", "0000000000-0000"}).status, 1);
    EXPECT_EQ(Run({"trash", "empty"}).status, 0);
    EXPECT_EQ(Run({"trash", "list"}).out, "");

    WriteBytes(bin.Folder() / "0000000001-0001.0.cards", "QuilletArchive File:");
    const Result check = Run({"check"});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find("0000000001-0001.0.cards\t回收站中的这一项已经损坏"), std::string::npos) << check.out;
}

}  // namespace
}  // namespace quillet
