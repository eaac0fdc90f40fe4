#include "platform/unique_fd.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

#include "support/temp_folder.h"

namespace corvane::platform {
namespace {

bool IsOpen(int fd) {
    return fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

int OpenDevNull() {
    return open("/dev/null", O_RDONLY | O_CLOEXEC);
}

// Each descriptor is closed exactly once: by its last owner, or by the one it was handed to.
TEST(UniqueFdTest, TheLastOwnerClosesOnce) {
    int fd = OpenDevNull();
    ASSERT_GE(fd, 0);
    {
        UniqueFd first(fd);
        UniqueFd second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), fd);
        UniqueFd third;
        third = std::move(second);
        EXPECT_TRUE(IsOpen(fd));
    }
    EXPECT_FALSE(IsOpen(fd));

    fd = OpenDevNull();
    int kept = UniqueFd(fd).Release();
    EXPECT_EQ(kept, fd);
    EXPECT_TRUE(IsOpen(fd));
    int replacement = OpenDevNull();
    UniqueFd(kept).Reset(replacement);
    EXPECT_FALSE(IsOpen(kept));
    EXPECT_FALSE(IsOpen(replacement));
}

TEST(UniqueFdTest, CloseReportsItsResultOnce) {
    UniqueFd fd(OpenDevNull());
    int number = fd.Get();
    EXPECT_TRUE(fd.Close());
    EXPECT_FALSE(IsOpen(number));
    EXPECT_FALSE(fd);
    EXPECT_FALSE(fd.Close());  // nothing is held any more
}

// The directory stream owns the descriptor it was opened on; a descriptor it cannot list is closed.
TEST(OpenDirectoryTest, TheStreamTakesTheDescriptorOrItIsClosed) {
    corvane::testing::TempFolder folder;
    std::string file = folder.Write("file", "x");

    int fd = open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    {
        UniqueDir dir = OpenDirectory(UniqueFd(fd));
        ASSERT_TRUE(dir);
        EXPECT_EQ(dirfd(dir.get()), fd);
        EXPECT_TRUE(IsOpen(fd));
    }
    EXPECT_FALSE(IsOpen(fd));

    fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(OpenDirectory(UniqueFd(fd)));
    EXPECT_FALSE(IsOpen(fd));
    EXPECT_FALSE(OpenDirectory(UniqueFd()));
}

}  // namespace
}  // namespace corvane::platform
