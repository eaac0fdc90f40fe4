#include "platform/owned_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace corvane::platform {
namespace {

constexpr uid_t kOtherUser = 65534;  // nobody

std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class OwnedFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = MakePrivateFolder("/tmp");
        ASSERT_FALSE(folder_.empty());
        victim_ = folder_ + "/victim";
        std::ofstream(victim_) << "keep";
        fixed_ = folder_ + "/fixed";
    }
    void TearDown() override { RemoveFolderTree(folder_); }
    std::string folder_, victim_, fixed_;
};

TEST_F(OwnedFilesTest, APrivateFolderIsOnlyOurs) {
    struct stat st {};
    ASSERT_EQ(lstat(folder_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, geteuid());
}

TEST_F(OwnedFilesTest, NewFilesHaveMode0600AndExistingOnesAreTruncated) {
    std::ofstream(fixed_) << "old content";
    chmod(fixed_.c_str(), 0644);
    int fd = CreateOwnedFile(fixed_);
    ASSERT_GE(fd, 0);
    close(fd);
    struct stat st {};
    ASSERT_EQ(stat(fixed_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 0);
}

TEST_F(OwnedFilesTest, ALinkIsNeverFollowed) {
    ASSERT_EQ(symlink(victim_.c_str(), fixed_.c_str()), 0);
    EXPECT_LT(CreateOwnedFile(fixed_), 0);
    EXPECT_LT(OpenOwnedFileForReading(fixed_), 0);
    EXPECT_EQ(OwnedFileSize(fixed_), -1);
    EXPECT_EQ(Read(victim_), "keep");
    // Removing the link removes the link, not its target.
    EXPECT_TRUE(RemoveOwnedEntry(fixed_));
    EXPECT_EQ(Read(victim_), "keep");
}

TEST_F(OwnedFilesTest, AnotherUsersFileCountsAsMissingAndStaysAsItIs) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
    std::ofstream(fixed_) << "theirs";
    ASSERT_EQ(chown(fixed_.c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_LT(CreateOwnedFile(fixed_), 0);
    EXPECT_LT(OpenOwnedFileForReading(fixed_), 0);
    EXPECT_EQ(OwnedFileSize(fixed_), -1);
    EXPECT_FALSE(RemoveOwnedEntry(fixed_));
    std::string from = folder_ + "/new";
    std::ofstream(from) << "ours";
    EXPECT_FALSE(MoveIntoPlace(from, fixed_));
    EXPECT_EQ(Read(fixed_), "theirs");
}

TEST_F(OwnedFilesTest, AFifoDoesNotBlockAndCountsAsMissing) {
    ASSERT_EQ(mkfifo(fixed_.c_str(), 0600), 0);
    EXPECT_LT(OpenOwnedFileForReading(fixed_), 0);
    EXPECT_LT(CreateOwnedFile(fixed_), 0);
}

TEST_F(OwnedFilesTest, MoveIntoPlaceReplacesOurFileButNeverALinksTarget) {
    std::string from = folder_ + "/new";
    std::ofstream(from) << "new";
    std::ofstream(fixed_) << "old";
    ASSERT_TRUE(MoveIntoPlace(from, fixed_));
    EXPECT_EQ(Read(fixed_), "new");

    std::ofstream(from) << "again";
    std::remove(fixed_.c_str());
    ASSERT_EQ(symlink(victim_.c_str(), fixed_.c_str()), 0);
    EXPECT_FALSE(MoveIntoPlace(from, fixed_));
    EXPECT_EQ(Read(victim_), "keep");
    // A link as the source is refused as well.
    std::remove(fixed_.c_str());
    std::string link = folder_ + "/link";
    ASSERT_EQ(symlink(victim_.c_str(), link.c_str()), 0);
    EXPECT_FALSE(MoveIntoPlace(link, fixed_));
}

TEST_F(OwnedFilesTest, RemoveFolderTreeDoesNotFollowLinks) {
    std::string inner = folder_ + "/inner";
    ASSERT_EQ(mkdir(inner.c_str(), 0700), 0);
    std::string outside = MakePrivateFolder("/tmp");
    std::ofstream(outside + "/precious") << "x";
    ASSERT_EQ(symlink(outside.c_str(), (inner + "/link").c_str()), 0);
    RemoveFolderTree(inner);
    EXPECT_NE(access(inner.c_str(), F_OK), 0);
    EXPECT_EQ(Read(outside + "/precious"), "x");
    RemoveFolderTree(outside);
}

}  // namespace
}  // namespace corvane::platform
