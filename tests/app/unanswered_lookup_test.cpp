// A file pasted while another program holds the malware database locked: its row and its line of the export
// say error, never OK, and the status line says that the database could not be read.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "app/event_loop.h"
#include "engine/checksum_worker.h"
#include "inputs/inputs_fixture.h"
#include "malwaredb/database.h"
#include "program/events.h"

namespace corvane {
namespace {

const std::string kAbcSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

class UnansweredLookUpTest : public testing::InputsTest {
  protected:
    void SetUp() override {
        InputsTest::SetUp();
        BuildWindow();
        ui().SelectItem(kAlgorithmPopup, 3);  // SHA256
        std::string db = Path("signatures.db");
        sqlite3_open(db.c_str(), &MalwareDb);
        RunDatabaseRequest(kCreateTableStatement);
        RunDatabaseRequest("INSERT INTO malware_hashes VALUES ('" + kAbcSha256 + "', 'Test', 'Test');");
        // Short, so that the test does not wait 20 s; the lock outlasts it whatever its length.
        sqlite3_busy_timeout(MalwareDb, 20);
        sqlite3_open(db.c_str(), &other_);
        ASSERT_EQ(sqlite3_exec(other_, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    void TearDown() override {
        InputsTest::TearDown();
        sqlite3_close(other_);
        CloseMalwareDatabase();
    }

    sqlite3* other_ = nullptr;
};

TEST_F(UnansweredLookUpTest, RowAndExportShowTheErrorAndTheStatusLineWhy) {
    std::string file = MakeFile("listed.txt", "abc");
    services.SetClipboardFromOutside(file);
    DispatchEvent(MenuEvent(kPasteItem));
    PumpUntilRunEnds();
    EXPECT_EQ(ui().Text(kStatusLine), kLookupFailedText);

    services.savePanelAnswers.push_back(Path("out.csv"));
    DispatchEvent(ControlEvent(kExportButton, platform::kLeftClick));
    std::string csv = ReadFile(Path("out.csv"));
    EXPECT_NE(csv.find("\"" + file + "\",\"" + kAbcSha256 + "\",\"3 bytes\""), std::string::npos) << csv;
    EXPECT_TRUE(csv.ends_with(",\"  \xE2\x9D\x8C\"\r\n")) << csv;
    EXPECT_EQ(csv.find("\"OK\""), std::string::npos) << csv;
}

}  // namespace
}  // namespace corvane
