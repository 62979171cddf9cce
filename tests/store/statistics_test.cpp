#include "store/statistics.h"

#include <gtest/gtest.h>

#include "store/codec.h"
#include "test_folder.h"

namespace quillet {
namespace {

std::vector<std::string> Utf8(const std::vector<std::string>& stored) {
    std::vector<std::string> lines;
    for (const std::string& line : stored) {
        lines.push_back(ToUtf8(line));
    }
    return lines;
}

TEST(Statistics, listsEveryLibraryBetweenSeparators_numberingReadableCategories) {
    const test::TestFolder data;
    const std::string separator(50, '-');
    EXPECT_EQ(Utf8(StoreStatistics(data.Path()).lines),
              (std::vector<std::string>{separator, "“编程资料”栏:", separator, separator, "“软件资料”栏:", separator,
                                        separator, "“我的资料”栏:", separator, separator, "“网络资源”栏:", separator}));

    // Counts as the headers store them; a foreign file gets no line and no number, and is named.
    const auto seed = [&](const char* file, const std::string& name, std::int32_t count) {
        test::WriteBytes(data / file, test::LengthPrefixed("QuilletArchive File:") + test::LengthPrefixed("Ver1.0") +
                                          test::LengthPrefixed(name) + test::Int32(count));
    };
    seed("Quuse.001", ToStoredText("空的"), 0);
    test::WriteBytes(data / "Quuse.002", test::CategoryBytes("foreign", {}, "Another File:"));
    seed("Quuse.003", "five", 5);
    for (int i = 4; i <= 11; ++i) {
        char file[16];
        std::snprintf(file, sizeof file, "Quuse.%03d", i);
        seed(file, "c" + std::to_string(i), i == 11 ? 1000 : 12);
    }
    const Statistics statistics = StoreStatistics(data.Path());
    const std::vector<std::string> lines = Utf8(statistics.lines);
    ASSERT_EQ(lines.size(), 12u + 10u);
    EXPECT_EQ(lines[4], "“软件资料”栏:");
    EXPECT_EQ(lines[5], " 1） 空的 [卡片:0]");
    EXPECT_EQ(lines[6], " 2） five [卡片:5]");
    EXPECT_EQ(lines[7], " 3） c4 [卡片:12]");
    EXPECT_EQ(lines[14], "10） c11 [卡片:1000]");
    EXPECT_EQ(lines[15], separator);
    ASSERT_EQ(statistics.unreadable.size(), 1u);
    EXPECT_NE(statistics.unreadable[0].find("Quuse.002"), std::string::npos);
}

}  // namespace
}  // namespace quillet
