#include <gtest/gtest.h>

#include "store/codec.h"
#include "tools/bookmarks_file.h"
#include "tools/shortcut_file.h"

namespace quillet {
namespace {

TEST(ShortcutFile, addressIsReadAsIni) {
    const std::string longAddress = "https://example.com/" + std::string(300, 'a');
    const struct {
        const char* what;
        std::string bytes;
        std::optional<std::string> address;
    } cases[] = {
        {"the file the export writes", ShortcutFileBytes("http://a.cn/"), "http://a.cn/"},
        {"a long address whole", "[InternetShortcut]\r\nURL=" + longAddress + "\r\n", longAddress},
        {"after an IDList line and another section",
         "[DEFAULT]\r\nBASEURL=http://base/\r\n[InternetShortcut]\r\nIDList=\r\nURL=http://real/\r\nIconIndex=0\r\n",
         "http://real/"},
        {"names in any case, a byte-order mark, LF only", "\xEF\xBB\xBF[internetshortcut]\nurl = http://x/ \n",
         "http://x/"},
        {"BASEURL only when there is no URL", "[DEFAULT]\nBASEURL=http://base/\n", "http://base/"},
        {"URL outside its section does not count", "[Other]\nURL=http://no/\n", std::nullopt},
        {"an empty URL is none", "[InternetShortcut]\nURL=\n", std::nullopt},
        {"not a shortcut at all", "hello", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadShortcutAddress(c.bytes), c.address) << c.what;
    }
    EXPECT_EQ(ShortcutFileBytes("http://a.cn/").size(), 26u + std::string("http://a.cn/").size());
}

TEST(ShortcutFile, namesEndInDotUrlInAnyCase) {
    EXPECT_TRUE(IsShortcutFileName("My site.url"));
    EXPECT_TRUE(IsShortcutFileName("abc.URL"));
    EXPECT_FALSE(IsShortcutFileName("abc.url.bak"));
    EXPECT_FALSE(IsShortcutFileName(".url"));
    EXPECT_FALSE(IsShortcutFileName("readme"));
}

std::string S(const char* utf8) { return ToStoredText(utf8); }

// As browsers write it: nested folders, entities, icons, dates, a Firefox query, links at the top.
constexpr const char* kBrowserFile = R"html(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<!-- This is an automatically generated file. <A HREF="http://not-a-link/">no</A> -->
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks Menu</H1>
<DL><p>
    <DT><A HREF="https://top.example/" ADD_DATE="1700000000" ICON="data:image/png;base64,iVBORw0KGgo=">Top &amp; first</A>
    <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="1700000001" PERSONAL_TOOLBAR_FOLDER="true">书签栏</H3>
    <DL><p>
        <DT><A HREF="https://a.example/?x=1&amp;y=2" ADD_DATE="1">A 站</A>
        <DD>A 的说明 &lt;b&gt;
        <DT><H3>深一层</H3>
        <DL><p>
            <DT><A HREF='https://deep.example/'>深处</A>
        </DL><p>
        <DT><A HREF="place:sort=8&maxResults=10">最近</A>
        <DT><A HREF="https://after.example/">回到上层</A>
    </DL><p>
    <DT><H3>空栏目</H3>
    <DL><p>
    </DL><p>
    <dt><a href="javascript:void(0)">脚本</a>
</DL><p>
)html";

TEST(BookmarksFile, aBrowsersFile_isReadFolderByFolder) {
    const FavoritesTree tree = ParseBookmarks(kBrowserFile);
    ASSERT_EQ(tree.rootSites.size(), 2u);
    EXPECT_EQ(tree.rootSites[0].name, "Top & first");
    EXPECT_EQ(tree.rootSites[0].address, "https://top.example/");
    EXPECT_FALSE(tree.rootSites[0].description);
    EXPECT_EQ(tree.rootSites[1].address, "javascript:void(0)") << "kept as text; the program never opens it";
    ASSERT_EQ(tree.folders.size(), 2u);
    EXPECT_EQ(tree.folders[0].name, S("书签栏"));
    ASSERT_EQ(tree.folders[0].sites.size(), 3u);
    EXPECT_EQ(tree.folders[0].sites[0].address, "https://a.example/?x=1&y=2");
    EXPECT_EQ(tree.folders[0].sites[0].description, S("A 的说明 <b>"));
    EXPECT_EQ(tree.folders[0].sites[1].name, S("深处"));
    EXPECT_EQ(tree.folders[0].sites[2].name, S("回到上层"));
    EXPECT_EQ(tree.folders[1].name, S("空栏目"));
    EXPECT_TRUE(tree.folders[1].sites.empty());
}

TEST(BookmarksFile, whatTheProgramWrites_readsBackTheSame) {
    const std::vector<BookmarksCategory> categories = {
        {S("常用网站"),
         {{S("新浪 <首页>"), "http://www.sina.com.cn/?a=1&b=\"2\"", S("第一行\r\n第二行")},
          {S(" 两边有空格 "), "http://x/", S("")}}},
        {S("空类别"), {}},
    };
    const FavoritesTree tree = ParseBookmarks(WriteBookmarks(categories));
    EXPECT_TRUE(tree.rootSites.empty());
    ASSERT_EQ(tree.folders.size(), 2u);
    for (std::size_t i = 0; i < categories.size(); ++i) {
        EXPECT_EQ(tree.folders[i].name, categories[i].name);
        ASSERT_EQ(tree.folders[i].sites.size(), categories[i].sites.size());
        for (std::size_t j = 0; j < categories[i].sites.size(); ++j) {
            const FavoriteSite& back = tree.folders[i].sites[j];
            EXPECT_EQ(back.name, categories[i].sites[j].name);
            EXPECT_EQ(back.address, categories[i].sites[j].address);
            EXPECT_EQ(back.description, categories[i].sites[j].description);
        }
    }
}

TEST(BookmarksFile, brokenAndHostileInput_endsCleanly) {
    const std::string deep = std::string(100000, '<') + "DL>";
    for (const std::string& html : {std::string("<DL><p><DT><A HREF=\"http://x/\">unclosed"),
                                    std::string("</DL></DL><A"), std::string("<DL>") + std::string(200000, 'x'), deep,
                                    std::string("&#99999999999;&#x;&amp"), std::string("<A HREF=>")}) {
        const FavoritesTree tree = ParseBookmarks(html);
        EXPECT_LE(tree.rootSites.size(), 1u);
    }
}

}  // namespace
}  // namespace quillet
