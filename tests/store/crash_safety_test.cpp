#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

#include "store/category_file.h"
#include "store/data_folder.h"
#include "test_folder.h"

namespace quillet {
namespace {

CardTable LargeCategory(char fill) {
    CardTable cards;
    for (int i = 0; i < 3000; ++i) {
        cards.Append({"card " + std::to_string(i), std::string(1000, fill), ""});
    }
    return cards;
}

// A process killed while it rewrites a category leaves the old file or the new one, whole, and nothing that
// a listing would show as a category.
TEST(CrashSafety, killedWriter_leavesTheOldOrTheNewFileWhole) {
    test::TestFolder folder;
    const std::filesystem::path file = folder / "Qulan.001";
    const CardTable first = LargeCategory('a');
    const CardTable second = LargeCategory('b');
    StringSink firstBytes;
    StringSink secondBytes;
    WriteCategory(firstBytes, "first", first);
    WriteCategory(secondBytes, "second", second);
    ASSERT_FALSE(WriteCategoryFile(file, "first", first));

    std::mt19937 random(12345);
    int sawFirst = 0;
    int sawSecond = 0;
    for (int round = 0; round < 30; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                if (i % 2 == 0) {
                    WriteCategoryFile(file, "second", second);
                } else {
                    WriteCategoryFile(file, "first", first);
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution(500, 60000)(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const std::string bytes = test::ReadBytes(file);
        const bool isFirst = bytes == firstBytes.Bytes();
        const bool isSecond = bytes == secondBytes.Bytes();
        ASSERT_TRUE(isFirst || isSecond) << "round " << round << ": " << bytes.size() << " bytes";
        sawFirst += isFirst;
        sawSecond += isSecond;
        EXPECT_EQ(CategoryFiles(folder.Path(), 0).size(), 1u);
    }
    EXPECT_GT(sawFirst + sawSecond, 0);
}

}  // namespace
}  // namespace quillet
