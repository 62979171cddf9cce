#include "ui/tip_file.h"

#include <gtest/gtest.h>

#include "../store/test_folder.h"

namespace quillet {
namespace {

std::vector<std::string> Tips(const std::string& content, int count) {
    test::TestFolder folder;
    test::WriteBytes(folder / "Quillet.tip", content);
    TipFile file;
    EXPECT_TRUE(file.Open(folder / "Quillet.tip"));
    std::vector<std::string> tips;
    for (int i = 0; i < count; ++i) {
        tips.push_back(file.NextTip().value_or("<none>"));
    }
    return tips;
}

TEST(TipFile, skipsCommentsIndentedAndEmptyLines_andWrapsAround) {
    EXPECT_EQ(Tips("; comment\n indented\n\ttabbed\n\nfirst\r\n;x\nsecond", 4),
              (std::vector<std::string>{"first\n", "second", "first\n", "second"}));
}

TEST(TipFile, longLine_isReadInPiecesOf999) {
    const std::string line(1500, 'x');
    EXPECT_EQ(Tips(line + "\n", 2), (std::vector<std::string>{std::string(999, 'x'), std::string(501, 'x') + "\n"}));
}

TEST(TipFile, fileWithoutATip_endsTheSearch) {
    EXPECT_EQ(Tips("", 1), std::vector<std::string>{"<none>"});
    EXPECT_EQ(Tips("; only\n  comments\n\n", 2), (std::vector<std::string>{"<none>", "<none>"}));
}

TEST(TipFile, positionAndTimeStamp) {
    test::TestFolder folder;
    test::WriteBytes(folder / "Quillet.tip", "a\nb\n");
    TipFile file;
    ASSERT_TRUE(file.Open(folder / "Quillet.tip"));
    ASSERT_TRUE(file.Seek(2));
    EXPECT_EQ(file.NextTip(), "b\n");
    EXPECT_EQ(file.Position(), 4u);
    const std::string stamp = FileTimeStamp(folder / "Quillet.tip");
    EXPECT_EQ(stamp.size(), 25u) << stamp;
    EXPECT_EQ(stamp.back(), '\n');
    EXPECT_EQ(FileTimeStamp(folder / "none"), "");
}

}  // namespace
}  // namespace quillet
