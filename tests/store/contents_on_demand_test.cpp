#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "store/category_file.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::Int32;
using test::ReadBytes;
using test::TestFolder;
using test::WriteBytes;

struct Read {
    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    StoreError error;
    Read(const std::filesystem::path& file, ReadMode mode) {
        error = ReadCategoryFile(file, mode, HeaderCheck::Check, {name, count, &cards});
    }
};

std::string Written(const Read& read) {
    StringSink sink;
    EXPECT_FALSE(WriteCategory(sink, read.name, read.cards));
    return sink.Bytes();
}

// A file with one card whose content field is spelled as given.
std::string OneCardWithContentField(const std::string& field) {
    std::string bytes = CategoryBytes("n", {});
    bytes.replace(bytes.size() - 4, 4, Int32(2));
    return bytes + test::LengthPrefixed("first") + field + test::LengthPrefixed("") + test::LengthPrefixed("second") +
           test::LengthPrefixed("2") + test::LengthPrefixed("addr");
}

// Left in the file or read at once, a category reads and writes back the same: the same cards, the same bytes,
// also after a change, whatever form the stored fields have.
TEST(ContentsOnDemand, readAndWrittenBackAsAFullRead) {
    const std::string whole = CategoryBytes("n", {{"one", "1", ""}, {"two", std::string(300, 'x'), ""}, {"", "", ""}});
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"fields in the writer's form", whole},
        {"long content with a three-byte prefix", CategoryBytes("n", {{"a", std::string(70000, 'y'), "u"}})},
        {"content of 16-bit characters", OneCardWithContentField(std::string("\xFF\xFE\xFF\x02\x16\x7F\x0B\x7A", 8))},
        {"content with a longer prefix than needed", OneCardWithContentField(std::string("\xFF\x02\x00" "ab", 5))},
        {"bytes after the last card", whole + "tail"},
        {"cut in the last card", whole.substr(0, whole.size() - 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestFolder folder;
        WriteBytes(folder / "Qulan.001", c.bytes);
        const Read full(folder / "Qulan.001", ReadMode::Full);
        Read onDemand(folder / "Qulan.001", ReadMode::ContentsOnDemand);
        EXPECT_EQ(onDemand.error.kind, full.error.kind);
        ASSERT_EQ(onDemand.cards.Size(), full.cards.Size());
        EXPECT_EQ(Written(onDemand), Written(full)) << "untouched";
        for (std::size_t i = 0; i < full.cards.Size(); ++i) {
            EXPECT_EQ(onDemand.cards.At(i), full.cards.At(i)) << i;
        }
        EXPECT_EQ(Written(onDemand), Written(full)) << "contents read";

        Read changed(folder / "Qulan.001", ReadMode::ContentsOnDemand);
        CardTable expected = full.cards;
        if (!expected.Empty()) {
            changed.cards.Replace(0, {"new", "text", ""});
            expected.Replace(0, {"new", "text", ""});
        }
        changed.cards.Append({"last", "z", ""});
        expected.Append({"last", "z", ""});
        StringSink sink;
        EXPECT_FALSE(WriteCategory(sink, full.name, expected));
        EXPECT_EQ(Written(changed), sink.Bytes()) << "first card changed, one added";
    }
}

TEST(ContentsOnDemand, fileReplacedByASave_stillGivesTheContentsRead) {
    TestFolder folder;
    const std::filesystem::path file = folder / "Qulan.001";
    WriteBytes(file, CategoryBytes("n", {{"a", "old a", ""}, {"b", "old b", ""}}));
    Read read(file, ReadMode::ContentsOnDemand);
    CardTable other;
    other.Append({"a", "new a", ""});
    ASSERT_FALSE(WriteCategoryFile(file, "n", other));  // replaces the file by a new one
    EXPECT_EQ(read.cards.At(1).content, "old b");
    EXPECT_FALSE(read.cards.ContentError());
}

TEST(ContentsOnDemand, fileRewrittenInPlace_isNeverMixedIntoAWrite) {
    TestFolder folder;
    const std::filesystem::path file = folder / "Qulan.001";
    WriteBytes(file, CategoryBytes("n", {{"a", "content a", ""}, {"b", "content b", ""}}));
    Read read(file, ReadMode::ContentsOnDemand);
    // Another program writes into the same file.
    const std::string theirs = CategoryBytes("n", {{"a", "CONTENT A", ""}, {"b", "CONTENT B", ""}, {"c", "", ""}});
    const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, theirs.data(), theirs.size()), static_cast<ssize_t>(theirs.size()));
    ::close(fd);

    EXPECT_EQ(read.cards.At(1).content, "");
    EXPECT_EQ(read.cards.ContentError().kind, StoreErrorKind::Refused);
    EXPECT_TRUE(WriteCategoryFile(file, "n", read.cards));
    EXPECT_EQ(ReadBytes(file), theirs);
    StringSink sink;
    EXPECT_TRUE(WriteCategory(sink, "n", read.cards));
}

}  // namespace
}  // namespace quillet
