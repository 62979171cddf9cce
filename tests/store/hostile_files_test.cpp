// Files that are not what they seem: FIFOs, sparse giants, failing devices, and the modes of what we create.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/atomic_file.h"
#include "store/category_file.h"
#include "store/codec.h"
#include "store/field_reader.h"
#include "store/renumber.h"
#include "test_folder.h"

namespace quillet {
namespace {

using test::CategoryBytes;
using test::ReadBytes;
using test::TestFolder;
using test::WriteBytes;

TEST(HostileFiles, fifoNamedLikeOurFiles_isRefusedWithoutHanging) {
    TestFolder folder;
    for (const char* name : {"Qulan.001", "Quillet.tmp", "Quillet.rnm"}) {
        ASSERT_EQ(::mkfifo((folder / name).c_str(), 0600), 0);
    }
    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    const StoreError category =
        ReadCategoryFile(folder / "Qulan.001", ReadMode::Full, HeaderCheck::Check, {name, count, &cards});
    EXPECT_EQ(category.kind, StoreErrorKind::CannotOpen);
    EXPECT_NE(category.Message().find("不是普通文件"), std::string::npos);
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(folder / "Quillet.tmp", bytes).kind, StoreErrorKind::CannotOpen);
    EXPECT_TRUE(RecoverInterruptedWork(folder.Path()));
}

// A 1 GB file of zeros behind a count of 2^31 - 1: it looks as if it held 350 million empty cards.
TEST(HostileFiles, sparseGiantWithAHugeCount_isReadWithinItsMemoryBudget) {
    TestFolder folder;
    const std::filesystem::path file = folder / "Qulan.001";
    std::string header = CategoryBytes("big", {});
    header.replace(header.size() - 4, 4, test::Int32(0x7FFFFFFF));
    WriteBytes(file, header);
    std::filesystem::resize_file(file, std::uint64_t{1} << 30);

    std::string name;
    std::int32_t count = 0;
    ASSERT_FALSE(ReadCategoryFile(file, ReadMode::HeaderOnly, HeaderCheck::Check, {name, count}));
    EXPECT_EQ(count, 0x7FFFFFFF) << "the list still shows it";

    CardTable cards;
    const StoreError error =
        ReadCategoryFile(file, ReadMode::Full, HeaderCheck::Check, {name, count, &cards, std::uint64_t{4} << 20});
    EXPECT_EQ(error.kind, StoreErrorKind::Damaged);
    EXPECT_NE(error.Message().find("内存"), std::string::npos);
    EXPECT_EQ(static_cast<std::size_t>(count), cards.Size());
    EXPECT_LT(cards.Size(), std::size_t{100000});

    EXPECT_GE(DefaultMemoryBudget(0), std::uint64_t{64} << 20);
    EXPECT_LT(DefaultMemoryBudget(std::uint64_t{1} << 40), std::uint64_t{1} << 40) << "bounded by the machine";
}

std::string Utf16Le(const std::u16string& text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Wide strings are converted piece by piece; a surrogate pair that straddles two pieces stays one character.
TEST(HostileFiles, wideStringAcrossConversionPieces_isConvertedWhole) {
    for (const std::size_t pairAt : {std::size_t{32767}, std::size_t{32766}, std::size_t{65535}}) {
        SCOPED_TRACE(pairAt);
        std::u16string text(70000, u'\u4E2D');
        text[pairAt] = 0xD83D;
        text[pairAt + 1] = 0xDE00;
        const std::string wide = Utf16Le(text);
        std::string field = "\xFF\xFE\xFF";
        field += "\xFF\xFF\xFF" + test::Int32(static_cast<std::int32_t>(text.size()));
        field += wide;
        MemorySource source(field);
        FieldReader reader(source);
        std::string value;
        ASSERT_TRUE(reader.ReadString(value)) << reader.Failure();
        EXPECT_EQ(value, Utf16LeToStoredText(wide));
        EXPECT_EQ(ToUtf8(value).find("\xEF\xBF\xBD"), std::string::npos) << "no replacement character";
    }
}

class FailingSource final : public ByteSource {
public:
    bool Read(char*, std::size_t) override { return false; }
    std::uint64_t Remaining() const override { return 100; }
    std::uint64_t Position() const override { return 0; }
};

TEST(HostileFiles, deviceError_isAReadFailureNotDamage) {
    FailingSource source;
    std::string name;
    std::int32_t count = 0;
    const StoreError error = ReadCategory(source, "Qulan.001", ReadMode::HeaderOnly, HeaderCheck::Check, {name, count});
    EXPECT_EQ(error.kind, StoreErrorKind::CannotRead);
    EXPECT_EQ(error.Message().find("损坏"), std::string::npos) << error.Message();
    EXPECT_EQ(DescribeErrno(ELOOP).find("代码"), std::string::npos);
    EXPECT_NE(DescribeErrno(12345).find("12345"), std::string::npos) << "an unknown code is still named";
}

class UmaskTest : public ::testing::Test {
protected:
    UmaskTest() : m_old(::umask(027)) {}
    ~UmaskTest() override { ::umask(m_old); }

private:
    mode_t m_old;
};

mode_t ModeOf(const std::filesystem::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
}

TEST_F(UmaskTest, newFilesHonourTheUmask_replacedFilesKeepTheirMode) {
    TestFolder folder;
    ASSERT_FALSE(WriteCategoryFile(folder / "Qulan.001", "n", CardTable{}));
    EXPECT_EQ(ModeOf(folder / "Qulan.001"), mode_t{0640});
    ASSERT_EQ(::chmod((folder / "Qulan.001").c_str(), 0604), 0);
    ASSERT_FALSE(WriteCategoryFile(folder / "Qulan.001", "m", CardTable{}));
    EXPECT_EQ(ModeOf(folder / "Qulan.001"), mode_t{0604});
}

TEST(HostileFiles, newFileTarget_neverReplacesAFileThatIsThere) {
    TestFolder folder;
    WriteBytes(folder / "Qulan.001", "theirs");
    const StoreError error = WriteFileAtomically(folder / "Qulan.001", "mine", AtomicFileWriter::Target::New);
    EXPECT_EQ(error.kind, StoreErrorKind::CannotWrite);
    EXPECT_EQ(ReadBytes(folder / "Qulan.001"), "theirs");
    EXPECT_EQ(test::FileNames(folder.Path()), std::vector<std::string>{"Qulan.001"});
    ASSERT_FALSE(WriteFileAtomically(folder / "Qulan.002", "mine", AtomicFileWriter::Target::New));
    EXPECT_EQ(ReadBytes(folder / "Qulan.002"), "mine");
}

}  // namespace
}  // namespace quillet
