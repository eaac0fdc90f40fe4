// A line feed is a legal byte of a file name, while the run's file list separates its paths with line
// feeds. A file so named, found by a folder scan or dropped itself, is hashed, looked up, listed, revealed
// and exported as itself; the parts of its name never name other files.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "app/event_loop.h"
#include "engine/run_state.h"
#include "engine/status_marks.h"
#include "inputs/inputs_fixture.h"
#include "malwaredb/database.h"
#include "platform/text.h"
#include "program/events.h"

namespace corvane {
namespace {

// SHA-256 of the three files' contents.
const std::string kListedSum =
    "56547a7cc8bbf46bb4aa2f18a097fee842ce6e94ca4c7f5cda6df35c4f5825c9";  // "listed"
const std::string kHarmlessSum =
    "98fc5211ecf54bc9bd57f0045e0d0ee488c5472c94ee22cc1580b081d04cc4ac";  // "harmless"
const std::string kQFileSum = "ae347518ef52cdff1ae667e78f2acac63fa3a4b2d5aaee79126c25e23c80caa6";  // "q file"
// U+240A, which the list shows for a line feed of a name.
const std::string kLineFeedSymbol = "\xE2\x90\x8A";

// A row by its shown name: checksum, mark, the file it reveals, red or not.
struct Shown {
    std::string checksum;
    std::string mark;
    std::string file;
    bool red = false;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
    *os << "{" << s.checksum << ", " << s.mark << ", " << s.file << (s.red ? ", red}" : "}");
}

class LineFeedNameTest : public testing::InputsTest {
  protected:
    void SetUp() override {
        InputsTest::SetUp();
        BuildWindow();
        ui().SelectItem(kAlgorithmPopup, 3);  // SHA256, the algorithm that is looked up
        sqlite3_open(":memory:", &MalwareDb);
        RunDatabaseRequest(kCreateTableStatement);
        RunDatabaseRequest("INSERT INTO malware_hashes VALUES ('" + kListedSum + "', 'Test', 'Test');");
        // "a" is harmless, "a" + line feed is listed, and "q" + line feed + "rel.txt" must never lead to the
        // working folder's own rel.txt.
        MakeFile("scan/a", "harmless");
        MakeFile("scan/a\n", "listed");
        MakeFile("scan/q\nrel.txt", "q file");
        MakeFile("cwd/rel.txt", "outside");
        ASSERT_NE(getcwd(workingFolder_, sizeof workingFolder_), nullptr);
        ASSERT_EQ(chdir(Path("cwd").c_str()), 0);
    }
    void TearDown() override {
        InputsTest::TearDown();
        EXPECT_EQ(chdir(workingFolder_), 0);
        CloseMalwareDatabase();
    }

    static platform::Event Drop(const std::string& text) {
        return platform::Event{platform::kDropEvent, kMainWindow, 0, 0, 1, text};
    }

    // The rows by shown name.
    std::map<std::string, Shown> ShownRows() {
        std::map<std::string, Shown> shown;
        for (const auto& row : ui().Rows(kChecksumList)) {
            shown[row.cells[0]] = {row.cells[1], row.cells[4], row.file, row.red};
        }
        return shown;
    }

    // The three files of the scanned folder, each as itself.
    std::map<std::string, Shown> ScannedFolderRows() {
        return {
            {Path("scan/a"), {kHarmlessSum, OkMark, Path("scan/a")}},
            {Path("scan/a") + kLineFeedSymbol, {kListedSum, ThreatMark, Path("scan/a\n"), true}},
            {Path("scan/q") + kLineFeedSymbol + "rel.txt", {kQFileSum, OkMark, Path("scan/q\nrel.txt")}},
        };
    }

    std::string ExportedCsv() {
        services.savePanelAnswers.push_back(Path("out.csv"));
        DispatchEvent(ControlEvent(kExportButton, platform::kLeftClick));
        return ReadFile(Path("out.csv"));
    }

    char workingFolder_[4096] = {};
};

struct ScanCase {
    const char* name;
    bool dropped;  // dropped on the window, else pasted
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

class ScannedFolderTest : public LineFeedNameTest, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(ScannedFolderTest, ListsEveryFileAsItselfAndExportsValidText) {
    if (GetParam().dropped) {
        DispatchEvent(Drop(Path("scan")));
    } else {
        services.SetClipboardFromOutside(Path("scan"));
        DispatchEvent(MenuEvent(kPasteItem));
    }
    PumpUntilRunEnds();
    EXPECT_EQ(ShownRows(), ScannedFolderRows());
    EXPECT_EQ(TotalFiles, 4) << "three files and the empty field after the folder";

    std::string csv = ExportedCsv();
    EXPECT_EQ(ValidUtf8(csv), csv);
    EXPECT_NE(csv.find("\"" + Path("scan/a") + kLineFeedSymbol + "\",\"" + kListedSum + "\""),
              std::string::npos)
        << csv;
    EXPECT_EQ(csv.find(kHarmlessSum), csv.rfind(kHarmlessSum)) << "the harmless file once only";
    EXPECT_EQ(ReplaceAll(csv, "\r\n", "").find('\n'), std::string::npos) << "a name broke a line of the file";
}

INSTANTIATE_TEST_SUITE_P(Ways, ScannedFolderTest,
                         ::testing::Values(ScanCase{"pasted", false}, ScanCase{"dropped", true}),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

// The platform hands a dropped name's line feed over as NUL inside its line.
TEST_F(LineFeedNameTest, DroppedFilesAreHashedAsThemselves) {
    std::string listed = Path("scan/a") + '\0';
    std::string q = Path("scan/q") + '\0' + "rel.txt";
    DispatchEvent(Drop(listed + "\n" + q));
    PumpUntilRunEnds();
    std::map<std::string, Shown> expected = ScannedFolderRows();
    expected.erase(Path("scan/a"));
    EXPECT_EQ(ShownRows(), expected);

    ui().UserSelectRow(kChecksumList, 0);
    DispatchEvent(ControlEvent(kChecksumList, platform::kRightClick));
    EXPECT_EQ(services.revealedFiles, std::vector<std::string>{Path("scan/a\n")});
}

// A drop names whole paths: a relative line would name a file of the working folder, which nobody dropped.
TEST_F(LineFeedNameTest, RelativePathOfADropIsNeverHashed) {
    DispatchEvent(Drop("rel.txt\n" + Path("scan/a")));
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{Path("scan/a")});
}

// What the clipboard holds is text: its line feeds separate paths, as before.
TEST_F(LineFeedNameTest, PastedTextIsStillSplitAtLineFeeds) {
    services.SetClipboardFromOutside(Path("scan/q") + "\n" + Path("scan/a") + "\n");
    DispatchEvent(MenuEvent(kPasteItem));
    PumpUntilRunEnds();
    EXPECT_EQ(ListedNames(), std::vector<std::string>{Path("scan/a")});
}

}  // namespace
}  // namespace corvane
