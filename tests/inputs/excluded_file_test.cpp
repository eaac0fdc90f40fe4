#include "inputs/excluded_file.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "inputs/exclusions.h"

namespace corvane {
namespace {

struct ExclusionCase {
    const char* excludedDirs;  // nullptr: the start-up list
    const char* path;
    bool excluded;
};

void PrintTo(const ExclusionCase& c, std::ostream* os) {
    *os << (c.excludedDirs ? c.excludedDirs : "(start-up list)") << " / " << c.path;
}

class IsExcludedFileTest : public ::testing::TestWithParam<ExclusionCase> {};

TEST_P(IsExcludedFileTest, DecidesByDirectoryPrefixAndExtension) {
    InitializeSharedState();
    const ExclusionCase& c = GetParam();
    if (c.excludedDirs) ExcludedDirs = c.excludedDirs;
    EXPECT_EQ(IsExcludedFile(c.path), c.excluded)
        << "ExcludedDirs \"" << ExcludedDirs << "\", path " << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsExcludedFileTest,
    ::testing::Values(
        // Every entry is a prefix from the root, compared without regard to case.
        ExclusionCase{nullptr, "/Applications/x.app/Contents/Info.plist", true},
        ExclusionCase{nullptr, "/SYSTEM/Library/a.txt", true}, ExclusionCase{nullptr, "/Trash/a.txt", true},
        ExclusionCase{nullptr, "/library/x", true}, ExclusionCase{nullptr, "/Users/u/Library2/a.txt", false},
        ExclusionCase{nullptr, "/Users/u/Trash/a.txt", false},
        // Whole directory names only.
        ExclusionCase{nullptr, "/Libraryfoo/x", false}, ExclusionCase{nullptr, "/Library", false},
        ExclusionCase{"/Library/", "/Library/Caches/x.plist", true},
        // Extensions.
        ExclusionCase{nullptr, "/u/a.tmp", true}, ExclusionCase{nullptr, "/u/B.LOG", true},
        ExclusionCase{nullptr, "/u/old.bak", true}, ExclusionCase{nullptr, "/u/d.tmp.txt", false},
        ExclusionCase{nullptr, "/x/.log", false}, ExclusionCase{nullptr, "/x/README", false},
        ExclusionCase{nullptr, "/a.log/readme", false}, ExclusionCase{nullptr, "/x/a.tar log", false},
        ExclusionCase{nullptr, "/x/a\\.log", false},
        ExclusionCase{nullptr, "/x/a.log\"x", true},  // a double quote ends the extension
        ExclusionCase{nullptr, "/x/a.lo\"g", false},
        // Hidden files have no extension: only the directories can exclude them.
        ExclusionCase{nullptr, "/u/D/.profile", false}, ExclusionCase{"/u", "/u/D/.profile", true},
        // Entries are trimmed of blanks.
        ExclusionCase{"  /Volumes  |  /Library ", "/Library/a", true},
        ExclusionCase{"  /Volumes  |  /Library ", "/Volumes/b", true},
        ExclusionCase{"\t/Volumes", "/Volumes/b", false},  // only blanks are trimmed
        // "/" excludes every absolute path; blank or empty lists test only the extensions.
        ExclusionCase{"/", "/any/file.txt", true}, ExclusionCase{"   ", "/Library/a.txt", false},
        ExclusionCase{"   |  | ", "/Library/a.txt", false}, ExclusionCase{"   ", "/Library/a.tmp", true},
        ExclusionCase{"", "/Library/a.txt", false}, ExclusionCase{"", "/u/a.log", true},
        // A pair of backslashes counts as "/", in the path and in the entries; a lone one does not.
        ExclusionCase{nullptr, "\\\\Library\\\\a.txt", true},
        ExclusionCase{nullptr, "\\Library\\a.txt", false}, ExclusionCase{"\\\\data", "/data/a.txt", true},
        ExclusionCase{"/data\\", "/data\\/a.txt", true},
        // Letters beyond ASCII are folded too; bytes that are not UTF-8 are compared as they are.
        ExclusionCase{"/Ünïcode", "/ÜNÏCODE/a.txt", true}, ExclusionCase{"/caf\xe9", "/caf\xe9/a.txt", true},
        ExclusionCase{"/caf\xe9", "/CAF\xe9/a.txt", true}, ExclusionCase{"/caf\xe9", "/caf\xc9/a.txt", false},
        // An overlong form of "/" is no "/": the name stays outside the folder.
        ExclusionCase{nullptr, "/Library\xC0\xAF_a.txt", false},
        ExclusionCase{nullptr, "/Library\xE0\x80\xAF_a.txt", false}),
    [](const ::testing::TestParamInfo<ExclusionCase>& paramInfo) {
        return "Case" + std::to_string(paramInfo.index);
    });

TEST(PathExtensionTest, IsTheTextAfterTheLastDotOfTheName) {
    EXPECT_EQ(PathExtension("/a/b.TMP"), "TMP");
    EXPECT_EQ(PathExtension("/a/.log"), "");
    EXPECT_EQ(PathExtension("/a.b/readme"), "");
    EXPECT_EQ(PathExtension("/a/x.tar gz"), "");
    EXPECT_EQ(PathExtension("/a/x."), "");
}

TEST(IsExcludedFileTest, SeesEveryChangeOfTheList) {
    InitializeSharedState();
    EXPECT_TRUE(IsExcludedFile("/Library/a.txt"));
    ExcludedDirs = "/Users";
    EXPECT_FALSE(IsExcludedFile("/Library/a.txt"));
    EXPECT_TRUE(IsExcludedFile("/users/a.txt"));
    ExcludedDirs = kDefaultExcludedDirs;
    EXPECT_TRUE(IsExcludedFile("/Library/a.txt"));
}

}  // namespace
}  // namespace corvane
