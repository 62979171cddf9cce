#include "store/instance_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_folder.h"

namespace quillet {
namespace {

// Without a runtime folder the lock lives in the shared temporary folder, where another user may have made
// our folder first, or planted a link in its place.
class FallbackFolderTest : public ::testing::Test {
protected:
    FallbackFolderTest() {
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", shared.Path().c_str(), 1);
    }
    ~FallbackFolderTest() override { ::unsetenv("TMPDIR"); }

    std::filesystem::path Ours() const { return shared / ("quillet-" + std::to_string(::getuid())); }

    test::TestFolder elsewhere;
    test::TestFolder shared;
};

TEST_F(FallbackFolderTest, ownPrivateFolder_isMadeAndUsed) {
    InstanceLock lock;
    ASSERT_TRUE(lock.TryAcquire());
    EXPECT_TRUE(lock.Held());
    struct stat info {};
    ASSERT_EQ(::lstat(Ours().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    InstanceLock second;
    EXPECT_FALSE(second.TryAcquire());
}

TEST_F(FallbackFolderTest, plantedFolderOrLink_isNeverUsed) {
    std::filesystem::create_symlink(elsewhere.Path(), Ours());
    {
        InstanceLock lock;
        EXPECT_TRUE(lock.TryAcquire()) << "the program still starts";
        EXPECT_FALSE(lock.Held());
        EXPECT_TRUE(test::FileNames(elsewhere.Path()).empty()) << "nothing created through the link";
    }
    std::filesystem::remove(Ours());
    ASSERT_EQ(::mkdir(Ours().c_str(), 0777), 0);
    ::chmod(Ours().c_str(), 0777);
    InstanceLock open;
    EXPECT_TRUE(open.TryAcquire());
    EXPECT_FALSE(open.Held()) << "a folder others can write is not ours alone";
    EXPECT_TRUE(test::FileNames(Ours()).empty());
}

}  // namespace
}  // namespace quillet
