#include "inputs/exclusions_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "inputs/exclusions.h"
#include "inputs_fixture.h"
#include "support/planted_fifo.h"

namespace corvane {
namespace {

constexpr const char* kConfig = "Library/Preferences/Corvane_ExclusionsConfig.txt";

class ExclusionsFileTest : public testing::InputsTest {};

struct FileCase {
    const char* content;
    const char* expected;  // ExcludedDirs after loading
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::string(c.content));
}

class LoadExclusionsTest : public testing::InputsTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(LoadExclusionsTest, TakesTheLastLineWithTheKey) {
    MakeFile(kConfig, GetParam().content);
    LoadExclusions();
    EXPECT_EQ(ExcludedDirs, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadExclusionsTest,
    ::testing::Values(FileCase{"ExcludedDirectories=/Applications|/Users/u/Temp\n",
                               "/Applications|/Users/u/Temp"},
                      FileCase{"ExcludedDirectories=/a|/b", "/a|/b"},  // no line feed at the end
                      FileCase{"   ExcludedDirectories=/a|/b   \n", "/a|/b"},
                      FileCase{"\tExcludedDirectories=/a\t\n", "\t/a\t"},  // only blanks are removed
                      FileCase{"ExcludedDirectories=/first\nExcludedDirectories=/second\n", "/second"},
                      FileCase{"ExcludedDirectories=/first\r\nExcludedDirectories=/second\r\n", "/second"},
                      FileCase{"ExcludedDirectories=/a|/b\r\n", "/a|/b"},
                      FileCase{"ExcludedDirectories=/a\rother\r", "/a"},
                      FileCase{"comment\nExcludedDirectories=/a\nother line\n", "/a"},
                      FileCase{"ExcludedDirectories=/a\n/continued on the next line\n", "/a"},
                      FileCase{"ExcludedDirectories=\n", ""},
                      FileCase{"x ExcludedDirectories=/a ExcludedDirectories=/b\n", "x /a /b"},
                      FileCase{"excludeddirectories=/a\n", "/Applications|/System|/Volumes|/Library|/Trash"},
                      FileCase{"no key at all\n", "/Applications|/System|/Volumes|/Library|/Trash"}),
    [](const ::testing::TestParamInfo<FileCase>& paramInfo) {
        return "Case" + std::to_string(paramInfo.index);
    });

TEST_F(ExclusionsFileTest, MissingEmptyFolderOrFifoLeavesTheListAsItIs) {
    ExcludedDirs = "/kept";
    LoadExclusions();
    EXPECT_EQ(ExcludedDirs, "/kept");
    MakeFile(kConfig, "");
    LoadExclusions();
    EXPECT_EQ(ExcludedDirs, "/kept");
    std::filesystem::remove(Path(kConfig));
    MakeFolder(kConfig);
    LoadExclusions();
    EXPECT_EQ(ExcludedDirs, "/kept");
    std::filesystem::remove(Path(kConfig));
    testing::PlantedFifo fifo(Path(kConfig));
    ASSERT_TRUE(fifo.made());
    LoadExclusions();
    EXPECT_EQ(ExcludedDirs, "/kept");
    EXPECT_FALSE(fifo.HadToUnblock()) << "loading waited on a FIFO";
}

TEST_F(ExclusionsFileTest, SaveWritesOneLineReadBackByLoad) {
    ASSERT_TRUE(SaveExclusions("  /a|/b  "));
    EXPECT_EQ(ReadFile(Path(kConfig)), "ExcludedDirectories=  /a|/b  \n");
    ExcludedDirs = "";
    LoadExclusions();
    // The line is trimmed before the key is taken out, so the blanks after the key stay.
    EXPECT_EQ(ExcludedDirs, "  /a|/b");
}

TEST_F(ExclusionsFileTest, SaveReplacesTheOldFileWithoutLeavingTemporaryFiles) {
    MakeFile(kConfig, "ExcludedDirectories=/a very long old list that is longer than the new one\n");
    ASSERT_TRUE(SaveExclusions("/new"));
    EXPECT_EQ(ReadFile(Path(kConfig)), "ExcludedDirectories=/new\n");
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Path("Library/Preferences"))) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

TEST_F(ExclusionsFileTest, SaveCreatesTheMissingPreferencesFolder) {
    ASSERT_FALSE(std::filesystem::exists(Path("Library")));
    EXPECT_TRUE(SaveExclusions("/a"));
    EXPECT_EQ(ReadFile(Path(kConfig)), "ExcludedDirectories=/a\n");
}

TEST_F(ExclusionsFileTest, SaveKeepsALinkedFileALink) {
    MakeFile("dotfiles/exclusions.txt", "ExcludedDirectories=/old\n");
    MakeFolder("Library/Preferences");
    MakeLink(Path("dotfiles/exclusions.txt"), kConfig);
    ASSERT_TRUE(SaveExclusions("/new"));
    EXPECT_TRUE(std::filesystem::is_symlink(Path(kConfig)));
    EXPECT_EQ(ReadFile(Path("dotfiles/exclusions.txt")), "ExcludedDirectories=/new\n");
}

TEST_F(ExclusionsFileTest, SaveThatCannotWriteFails) {
    MakeFile("Library", "a file where the folder should be");
    EXPECT_FALSE(SaveExclusions("/a"));
}

}  // namespace
}  // namespace corvane
