#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_folder.h"
#include "support/whole_file.h"

namespace corvane::platform {
namespace {

using corvane::testing::ReadWholeFile;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class WriteFileAtomicallyTest : public ::testing::Test {
  protected:
    void SetUp() override { oldMask_ = umask(022); }
    void TearDown() override { umask(oldMask_); }

    corvane::testing::TempFolder folder;

  private:
    mode_t oldMask_ = 022;
};

TEST_F(WriteFileAtomicallyTest, ANewFileGetsTheModeLessTheUmaskAndMissingFolders) {
    umask(027);
    std::string path = folder.path() + "/a/b/export.csv";
    ASSERT_TRUE(WriteFileAtomically(path, "x,y\r\n", 0666));
    EXPECT_EQ(ReadWholeFile(path), "x,y\r\n");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(ModeOf(folder.path() + "/a"), 0700u);
}

TEST_F(WriteFileAtomicallyTest, AnExistingFileIsReplacedWholeAndKeepsItsPermissions) {
    std::string path = folder.Write("settings.plist", "an older and much longer text");
    chmod(path.c_str(), 0604);
    ASSERT_TRUE(WriteFileAtomically(path, "new", 0600));
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_EQ(ModeOf(path), 0604u);
}

TEST_F(WriteFileAtomicallyTest, ASymbolicLinkStaysAndItsTargetIsReplaced) {
    std::string target = folder.Write("dotfiles/exclusions.txt", "old");
    std::string link = folder.path() + "/exclusions.txt";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(link, "new", 0600));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(target), "new");
}

// In a shared folder another user can plant a link where the user is about to save: the write must not
// go through it into the file it names.
TEST_F(WriteFileAtomicallyTest, AnotherUsersLinkIsReplacedNotFollowed) {
    if (geteuid() != 0) GTEST_SKIP() << "planting another user's link needs root";
    std::string target = folder.Write("precious.txt", "keep");
    std::string link = folder.path() + "/export.csv";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(lchown(link.c_str(), geteuid() + 1, static_cast<gid_t>(-1)), 0);
    ASSERT_TRUE(WriteFileAtomically(link, "csv", 0666));
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(link), "csv");
    EXPECT_EQ(ReadWholeFile(target), "keep");
}

TEST_F(WriteFileAtomicallyTest, AFailedWriteLeavesNothingBehind) {
    std::string blocker = folder.Write("plain-file", "x");
    EXPECT_FALSE(WriteFileAtomically(blocker + "/inside.csv", "data", 0666));
    EXPECT_FALSE(WriteFileAtomically(folder.path() + "/" + std::string(300, 'n'), "data", 0666));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 1u);
}

}  // namespace
}  // namespace corvane::platform
