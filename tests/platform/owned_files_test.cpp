#include "platform/owned_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "support/temp_folder.h"
#include "support/whole_file.h"

namespace corvane::platform {
namespace {

constexpr uid_t kOtherUser = 65534;  // nobody

using corvane::testing::ReadWholeFile;

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

TEST_F(OwnedFilesTest, NewFilesHaveMode0600AndExistingOnesAreReplacedEmpty) {
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
    EXPECT_LT(OpenOwnedFileForReading(fixed_), 0);
    EXPECT_EQ(OwnedFileSize(fixed_), -1);
    EXPECT_EQ(ReadWholeFile(victim_), "keep");
    // Removing the link removes the link, not its target.
    EXPECT_TRUE(RemoveOwnedEntry(fixed_));
    EXPECT_EQ(ReadWholeFile(victim_), "keep");
}

// Symbolic and hard links to the user's own file, and a FIFO, at the name: creating the file replaces the
// entry with a new file and never writes through it; reading refuses it.
TEST_F(OwnedFilesTest, CreatingReplacesWhatStandsThereAndNeverWritesThroughIt) {
    struct Case {
        const char* name;
        int (*plant)(const char* victim, const char* fixed);
    };
    const Case cases[] = {
        {"symbolic link", [](const char* v, const char* f) { return symlink(v, f); }},
        {"hard link", [](const char* v, const char* f) { return link(v, f); }},
        {"fifo", [](const char*, const char* f) { return mkfifo(f, 0600); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(fixed_.c_str());
        ASSERT_EQ(c.plant(victim_.c_str(), fixed_.c_str()), 0);
        EXPECT_LT(OpenOwnedFileForReading(fixed_), 0);
        int fd = CreateOwnedFile(fixed_);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(write(fd, "new", 3), 3);
        close(fd);
        EXPECT_EQ(ReadWholeFile(victim_), "keep");
        EXPECT_EQ(ReadWholeFile(fixed_), "new");
        struct stat st {};
        ASSERT_EQ(lstat(fixed_.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_nlink, 1u);
    }
}

// A folder at the name cannot be replaced: the create is refused.
TEST_F(OwnedFilesTest, AFolderAtTheNameIsRefused) {
    ASSERT_EQ(mkdir(fixed_.c_str(), 0700), 0);
    EXPECT_LT(CreateOwnedFile(fixed_), 0);
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
    EXPECT_EQ(ReadWholeFile(fixed_), "theirs");
}

TEST_F(OwnedFilesTest, AFifoDoesNotBlockAndCountsAsMissing) {
    ASSERT_EQ(mkfifo(fixed_.c_str(), 0600), 0);
    EXPECT_LT(OpenOwnedFileForReading(fixed_), 0);
    EXPECT_EQ(OwnedFileSize(fixed_), -1);
}

TEST_F(OwnedFilesTest, MoveIntoPlaceReplacesOurFileButNeverALinksTarget) {
    std::string from = folder_ + "/new";
    std::ofstream(from) << "new";
    std::ofstream(fixed_) << "old";
    ASSERT_TRUE(MoveIntoPlace(from, fixed_));
    EXPECT_EQ(ReadWholeFile(fixed_), "new");

    std::ofstream(from) << "again";
    std::remove(fixed_.c_str());
    ASSERT_EQ(symlink(victim_.c_str(), fixed_.c_str()), 0);
    EXPECT_FALSE(MoveIntoPlace(from, fixed_));
    EXPECT_EQ(ReadWholeFile(victim_), "keep");
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
    EXPECT_EQ(ReadWholeFile(outside + "/precious"), "x");
    RemoveFolderTree(outside);
}

// The id of a process that has ended (and been collected).
pid_t EndedProcess() {
    pid_t pid = fork();
    if (pid == 0) _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

// A program killed while its private folder exists leaves it behind; the next start removes it.
TEST(LeftoverPrivateFoldersTest, AFolderOfAnEndedProgramIsRemoved) {
    corvane::testing::TempFolder parent;
    int made[2];
    ASSERT_EQ(pipe(made), 0);
    pid_t program = fork();
    if (program == 0) {
        std::string folder = MakePrivateFolder(parent.path());
        std::ofstream(folder + "/full_sha256.txt") << "hashes";
        mkdir((folder + "/sub").c_str(), 0700);
        _exit(write(made[1], folder.data(), folder.size()) == static_cast<ssize_t>(folder.size()) ? 0 : 1);
    }
    close(made[1]);
    char name[4096];
    ssize_t length = read(made[0], name, sizeof name);
    close(made[0]);
    ASSERT_GT(length, 0);
    int status = 0;
    waitpid(program, &status, 0);
    ASSERT_EQ(status, 0);
    std::string folder(name, static_cast<size_t>(length));
    ASSERT_EQ(access(folder.c_str(), F_OK), 0);

    RemoveLeftoverPrivateFolders(parent.path());
    EXPECT_NE(access(folder.c_str(), F_OK), 0);
}

// Only a real folder, ours, under our name with a process id, whose process has ended, is removed; a link in
// it or of that name is not followed.
TEST(LeftoverPrivateFoldersTest, OnlyOurFoldersOfEndedProcessesGo) {
    corvane::testing::TempFolder parent;
    std::string ended = std::to_string(EndedProcess());
    std::string outside = parent.Write("outside/precious", "x");
    enum Kind { Folder, File, Link, OtherUsersFolder };
    struct Case {
        std::string name;
        Kind kind;
        bool removed;
    };
    std::vector<Case> cases = {
        {"corvane-" + ended + "-a1B2c3", Folder, true},
        {"corvane-" + std::to_string(getpid()) + "-a1B2c3", Folder, false},   // ours, in use
        {"corvane-" + std::to_string(getppid()) + "-a1B2c3", Folder, false},  // a living process's
        {"corvane-a1B2c3", Folder, false},                                    // no process id
        {"corvane-test-a1B2c3", Folder, false},
        {"corvane--a1B2c3", Folder, false},
        {"corvane-" + ended + "-a1B2c", Folder, false},  // not the six characters of the pattern
        {"corvane-" + ended + "-a1B2c3-x", Folder, false},
        {"corvane-0" + ended + "-a1B2c3", Folder, false},
        {"other-" + ended + "-a1B2c3", Folder, false},
        {"corvane-" + ended + "-file01", File, false},
        {"corvane-" + ended + "-link01", Link, false},
    };
    if (geteuid() == 0) cases.push_back({"corvane-" + ended + "-other1", OtherUsersFolder, false});
    for (const Case& c : cases) {
        std::string path = parent.path() + "/" + c.name;
        if (c.kind == File) {
            std::ofstream(path) << "x";
        } else if (c.kind == Link) {
            ASSERT_EQ(symlink((parent.path() + "/outside").c_str(), path.c_str()), 0);
        } else {
            ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
            ASSERT_EQ(symlink(outside.c_str(), (path + "/link").c_str()), 0);
            if (c.kind == OtherUsersFolder) {
                ASSERT_EQ(lchown(path.c_str(), kOtherUser, kOtherUser), 0);
            }
        }
    }
    RemoveLeftoverPrivateFolders(parent.path());
    for (const Case& c : cases) {
        struct stat st {};
        EXPECT_EQ(lstat((parent.path() + "/" + c.name).c_str(), &st) != 0, c.removed) << c.name;
    }
    EXPECT_EQ(ReadWholeFile(outside), "x");
}

}  // namespace
}  // namespace corvane::platform
