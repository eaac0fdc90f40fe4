#include "engine/checksum_worker.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <time.h>
#include <utime.h>

#include <cerrno>
#include <fstream>
#include <ostream>

#include "engine/file_checksum.h"
#include "engine/malware_lookup.h"
#include "engine/progress_notice.h"
#include "engine/status_marks.h"
#include "engine_fixture.h"
#include "malwaredb/database.h"
#include "platform/byte_count.h"
#include "platform/file_info.h"
#include "platform/locale.h"
#include "program/ids.h"
#include "program/settings.h"
#include "support/locale_for_testing.h"
#include "support/read_faults.h"

namespace corvane {
namespace {

using platform::ControlId;
using platform::TheUi;
using testing::EngineTest;
using testing::TempFolder;

const char* const kAbcSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

std::vector<int64_t> DataOf(const std::vector<platform::Event>& events) {
    std::vector<int64_t> out;
    for (const auto& e : events) out.push_back(e.data);
    return out;
}

// A malware database in memory with the table of the real one.
class MalwareDbFixture {
  public:
    explicit MalwareDbFixture(const std::vector<std::string>& hashes) {
        CloseMalwareDatabase();
        sqlite3_open(":memory:", &MalwareDb);
        sqlite3_exec(
            MalwareDb,
            "CREATE TABLE malware_hashes (hash TEXT PRIMARY KEY COLLATE NOCASE, type TEXT, source TEXT);",
            nullptr, nullptr, nullptr);
        for (const auto& hash : hashes) {
            std::string sql = "INSERT INTO malware_hashes VALUES ('" + hash + "', 'Test', 'Test');";
            sqlite3_exec(MalwareDb, sql.c_str(), nullptr, nullptr, nullptr);
        }
    }
    ~MalwareDbFixture() { CloseMalwareDatabase(); }
};

using ChecksumWorkerTest = EngineTest;

TEST_F(ChecksumWorkerTest, RowsFollowTheFileListWithSizeDateAndMark) {
    platform::SetLocaleIdentifierForTesting("de_DE");
    std::string a = files_.Write("a.txt", "abc");
    std::string b = files_.Write("sub/b.txt", std::string(1500, 'x'));
    std::string missing = files_.path() + "/gone.txt";
    StartRun(a + "\n" + missing + "\n" + b);
    PumpUntilRunEnds();

    auto rows = TheUi().Rows(kChecksumList);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].cells[0], a);
    EXPECT_EQ(rows[0].cells[1], "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(rows[0].cells[2], "3 bytes");
    EXPECT_EQ(rows[0].cells[3], FormatFileDate(platform::QueryFileInfo(a).modified, "de_DE"));
    EXPECT_NE(rows[0].cells[3], "Unknown");
    EXPECT_EQ(rows[0].cells[4], OkMark);
    EXPECT_EQ(rows[1].cells[0], missing);
    EXPECT_EQ(rows[1].cells[1], kFileNotFoundError);
    EXPECT_EQ(rows[1].cells[2], "-1 bytes");
    EXPECT_EQ(rows[1].cells[3], "Unknown");
    EXPECT_EQ(rows[1].cells[4], ErrorMark);
    EXPECT_EQ(rows[2].cells[0], b);
    EXPECT_EQ(rows[2].cells[2], "2 KB");
    for (const auto& row : rows) EXPECT_FALSE(row.red);
    EXPECT_EQ(TotalFiles, 3);
}

// Empty fields count as files and post their notices, but get no row.
TEST_F(ChecksumWorkerTest, EmptyFieldsCountWithoutRows) {
    std::string a = files_.Write("a", "1");
    std::string b = files_.Write("b", "2");
    StartRun(a + "\n" + b + "\n");
    PumpUntilRunEnds();

    EXPECT_EQ(TotalFiles, 3);
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 2u);
    auto eta = NoticesFor(kEtaLine);
    ASSERT_EQ(eta.size(), 4u);  // three fields and the end
    EXPECT_EQ(NoticeFilesRemaining(eta[0].data), 2);
    EXPECT_EQ(NoticeFilesRemaining(eta[1].data), 1);
    EXPECT_EQ(eta[2].data, 0);  // the empty field: nothing remaining, 0 seconds
    EXPECT_EQ(eta[3].data, 0);
    EXPECT_EQ(DataOf(NoticesFor(kRunProgressBar)), (std::vector<int64_t>{33, 66, 100, 100}));
    EXPECT_EQ(NoticesFor(kStatusLine).size(), 4u);
    EXPECT_EQ(TheUi().Text(kStatusLine), kCompletionText);
}

TEST_F(ChecksumWorkerTest, PercentNoticesDropTheRemainder) {
    std::string a = files_.Write("a", "1");
    std::string list = a;
    for (int i = 1; i < 8; ++i) list += "\n" + a;
    StartRun(list);
    PumpUntilRunEnds();
    EXPECT_EQ(DataOf(NoticesFor(kRunProgressBar)),
              (std::vector<int64_t>{12, 25, 37, 50, 62, 75, 87, 100, 100}));
}

// Fields of blanks only are hashed and counted like empty ones, without a row.
TEST_F(ChecksumWorkerTest, BlankFieldsGetNoRow) {
    StartRun("   \n\n  ");
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().RowCount(kChecksumList), 0u);
    EXPECT_EQ(NoticesFor(kEtaLine).size(), 4u);
}

TEST_F(ChecksumWorkerTest, OneFileRunPostsItsNoticesTwice) {
    std::string a = files_.Write("a", "1");
    StartRun(a);
    PumpUntilRunEnds();
    ASSERT_EQ(notices.size(), 6u);
    const ControlId order[] = {kEtaLine, kRunProgressBar, kStatusLine};
    for (size_t i = 0; i < notices.size(); ++i) {
        EXPECT_EQ(notices[i].object, static_cast<int>(order[i % 3])) << i;
        EXPECT_EQ(notices[i].serial, CurrentRunNumber.load());
    }
    EXPECT_EQ(notices[0].data, 0);
    EXPECT_EQ(notices[1].data, 100);
    EXPECT_EQ(notices[3].data, 0);
    EXPECT_EQ(notices[4].data, 100);
}

TEST_F(ChecksumWorkerTest, CompletedRunGivesTheWindowBack) {
    std::string a = files_.Write("a", "1");
    TheUi().SetBadgeLabel("50%");
    StartRun(a);
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().Text(kStatusLine), kCompletionText);
    EXPECT_EQ(TheUi().Text(kEtaLine), "1 total files, 0 remaining, (100%), 0:00 estimated remaining");
    EXPECT_EQ(TheUi().Value(kRunProgressBar), 100);
    EXPECT_EQ(TheUi().BadgeLabel(), "");
    EXPECT_EQ(services.sounds, (std::vector<int>{platform::kCompletionSound}));
    EXPECT_TRUE(ClipboardTimerActive());
    EXPECT_FALSE(WorkerRunning);
    EXPECT_FALSE(AbortRequested);
    EXPECT_EQ(FilePathList, a);  // kept for a re-run
}

// The status text names the file just done and its estimate; read while the next row is added.
TEST_F(ChecksumWorkerTest, StatusTextNamesTheFileDone) {
    struct Spy : platform::UiObserver {
        std::vector<std::string> texts;
        void OnUiChange(const platform::UiChange& change) override {
            if (change.what == platform::UiChange::RowsChanged) texts.push_back(StatusText);
        }
    } spy;
    std::string a = files_.Write("dir/first.txt", "1");
    std::string b = files_.Write("second.txt", "2");
    TheUi().SetObserver(&spy);
    StartRun(a + "\n" + b);
    PumpUntilRunEnds();
    TheUi().SetObserver(nullptr);
    ASSERT_GE(spy.texts.size(), 2u);
    EXPECT_EQ(spy.texts.back(), "Processing: first.txt - ETA: 0:00");
}

TEST_F(ChecksumWorkerTest, ShortNamesAreReadForEveryRun) {
    std::string a = files_.Write("inner/a.txt", "1");
    UseShortPaths = 1;
    StartRun(a);
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().Row(kChecksumList, 0)->cells[0], "inner/a.txt");
}

TEST(DisplayNameTest, ShortAndFullNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"/Users/ann/Documents/a.txt", "Documents/a.txt"},
        {"/a.txt", "/a.txt"},
        {"a.txt", "/a.txt"},
        {"dir/a.txt", "/a.txt"},
        {"/x/y/", "y/"},
        {"", "/"},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(DisplayName(path, true), name) << path;
        EXPECT_EQ(DisplayName(path, false), path);
    }
}

class FileDateTest : public ::testing::Test {
  protected:
    void SetUp() override { SetZone("UTC0"); }
    void TearDown() override { SetZone("UTC0"); }
    static void SetZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }
};

TEST_F(FileDateTest, MonthFirstOnlyForUsAndCanada) {
    struct tm day {};
    day.tm_year = 126;
    day.tm_mon = 11;
    day.tm_mday = 8;
    day.tm_hour = 12;
    int64_t time = timegm(&day);
    for (const char* id : {"en_US", "en_CA"}) EXPECT_EQ(FormatFileDate(time, id), "12/08/26") << id;
    for (const char* id : {"en_GB", "de_DE", "en_US_POSIX", "fr_CA", ""}) {
        EXPECT_EQ(FormatFileDate(time, id), "08-12-26") << id;
    }
}

// The order as the user's environment decides it: month first when none of the variables is set, day first
// in the C and POSIX locales.
struct DateOrderCase {
    const char* name;
    const char* variable;  // nullptr: none of LC_ALL, LC_TIME and LANG is set
    const char* value;
    const char* date;
};

void PrintTo(const DateOrderCase& c, std::ostream* os) {
    *os << c.name;
}

class DateOrderTest : public FileDateTest, public ::testing::WithParamInterface<DateOrderCase> {};

// Each case runs in its own process, so the locale is captured from exactly this environment.
TEST_P(DateOrderTest, FollowsTheEnvironment) {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) unsetenv(variable);
    if (GetParam().variable) setenv(GetParam().variable, GetParam().value, 1);
    platform::CaptureUserLocale();
    struct tm day {};
    day.tm_year = 126;
    day.tm_mon = 11;
    day.tm_mday = 8;
    day.tm_hour = 12;
    EXPECT_EQ(FormatFileDate(timegm(&day), platform::LocaleIdentifier()), GetParam().date);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateOrderTest,
    ::testing::Values(DateOrderCase{"NothingSet", nullptr, nullptr, "12/08/26"},
                      DateOrderCase{"LangC", "LANG", "C", "08-12-26"},
                      DateOrderCase{"LangCUtf8", "LANG", "C.UTF-8", "08-12-26"},
                      DateOrderCase{"LcAllPosix", "LC_ALL", "POSIX", "08-12-26"},
                      DateOrderCase{"LcTimeCanada", "LC_TIME", "en_CA.UTF-8", "12/08/26"},
                      DateOrderCase{"LangBritain", "LANG", "en_GB.UTF-8", "08-12-26"}),
    [](const ::testing::TestParamInfo<DateOrderCase>& paramInfo) { return paramInfo.param.name; });

// The test is on local time: in a zone west of Greenwich the first hours after the epoch are before it.
TEST_F(FileDateTest, UnknownUntilAfterTheEpochInLocalTime) {
    EXPECT_EQ(FormatFileDate(0, "en_US"), "Unknown");
    EXPECT_EQ(FormatFileDate(-86400, "en_US"), "Unknown");
    EXPECT_EQ(FormatFileDate(1, "en_US"), "01/01/70");
    SetZone("EST5");
    EXPECT_EQ(FormatFileDate(3600, "en_US"), "Unknown");
    EXPECT_EQ(FormatFileDate(5 * 3600 + 1, "en_US"), "01/01/70");
    SetZone("CET-1");
    EXPECT_EQ(FormatFileDate(0, "de_DE"), "01-01-70");  // 01:00 local time
    EXPECT_EQ(FormatFileDate(-3600, "de_DE"), "Unknown");
    EXPECT_EQ(FormatFileDate(std::nullopt, "de_DE"), "Unknown");
}

TEST_F(ChecksumWorkerTest, DateColumnFollowsTheLocale) {
    setenv("TZ", "UTC0", 1);
    tzset();
    std::string a = files_.Write("a", "1");
    struct tm day {};
    day.tm_year = 126;
    day.tm_mon = 11;
    day.tm_mday = 8;
    struct utimbuf times {};
    times.actime = times.modtime = timegm(&day) + 3600;
    ASSERT_EQ(utime(a.c_str(), &times), 0);
    platform::SetLocaleIdentifierForTesting("en_CA");
    StartRun(a);
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().Row(kChecksumList, 0)->cells[3], "12/08/26");
    platform::SetLocaleIdentifierForTesting("en_GB");
    StartRun(a);
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().Row(kChecksumList, 0)->cells[3], "08-12-26");
}

// East of Greenwich the epoch is already past in local time: a missing file must still show "Unknown",
// while a real time counts from local midnight.
TEST_F(ChecksumWorkerTest, MissingFileShowsUnknownEastOfGreenwich) {
    setenv("TZ", "CET-1", 1);
    tzset();
    platform::SetLocaleIdentifierForTesting("de_DE");
    std::string missing = files_.path() + "/gone.txt";
    std::string atEpoch = files_.Write("epoch", "1");
    std::string atLocalMidnight = files_.Write("midnight", "2");
    for (auto [path, time] : {std::pair{atEpoch, int64_t{0}}, std::pair{atLocalMidnight, int64_t{-3600}}}) {
        struct utimbuf times {};
        times.actime = times.modtime = time;
        ASSERT_EQ(utime(path.c_str(), &times), 0);
    }
    StartRun(missing + "\n" + atEpoch + "\n" + atLocalMidnight);
    PumpUntilRunEnds();

    auto rows = TheUi().Rows(kChecksumList);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].cells[2], "-1 bytes");
    EXPECT_EQ(rows[0].cells[3], "Unknown");
    EXPECT_EQ(rows[1].cells[3], "01-01-70");  // 01:00 local time
    EXPECT_EQ(rows[2].cells[3], "Unknown");   // 00:00 local time
}

TEST(EstimateSecondsLeftTest, RoundsHalvesUp) {
    EXPECT_EQ(EstimateSecondsLeft(10, 0, 1500), 14);  // 13.5
    EXPECT_EQ(EstimateSecondsLeft(10, 0, 1499), 13);
    EXPECT_EQ(EstimateSecondsLeft(3, 1, 3000), 2);  // 1 x 1500 / 1000 = 1.5
    EXPECT_EQ(EstimateSecondsLeft(5, 4, 99999), 0);
}

// An estimate beyond the 16 seconds bits is sent as their largest value, leaving the count intact.
TEST(ProgressNoticeTest, SecondsNeverSpillIntoTheCount) {
    int64_t data = PackEtaNotice(3, 70000);
    EXPECT_EQ(NoticeFilesRemaining(data), 3);
    EXPECT_EQ(NoticeSecondsLeft(data), 65535);
    data = PackEtaNotice(2, 14);
    EXPECT_EQ(data, 2 * 65536 + 14);
}

TEST_F(ChecksumWorkerTest, ThreatOnlyForListedSha256) {
    MalwareDbFixture db({kAbcSha256});
    std::string a = files_.Write("a", "abc");
    std::string b = files_.Write("b", "other");
    StartRun(a + "\n" + b, "SHA256");
    PumpUntilRunEnds();
    auto rows = TheUi().Rows(kChecksumList);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells[4], ThreatMark);
    EXPECT_TRUE(rows[0].red);
    EXPECT_EQ(rows[1].cells[4], OkMark);
    EXPECT_FALSE(rows[1].red);

    StartRun(a, "MD5");
    PumpUntilRunEnds();
    EXPECT_EQ(TheUi().Row(kChecksumList, 0)->cells[4], OkMark);
    EXPECT_FALSE(TheUi().Row(kChecksumList, 0)->red);
}

// A file whose reads fail part-way gets an error row with its size, never a checksum marked OK.
TEST_F(ChecksumWorkerTest, FileWhoseReadFailsGetsAnErrorRow) {
    std::string file = files_.Write("failing", std::string(3'000'000, 'x'));
    ASSERT_TRUE(testing::FailReadsOf(file, 1 << 20, EIO));
    StartRun(file, "SHA256");
    PumpUntilRunEnds();
    testing::StopFailingReads();
    auto rows = TheUi().Rows(kChecksumList);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells[1], kReadError);
    EXPECT_EQ(rows[0].cells[2], "3 MB");
    EXPECT_EQ(rows[0].cells[4], ErrorMark);
}

TEST(FindMalwareHashTest, LooksUpTheBoundKey) {
    MalwareDbFixture db({"ABCDEF"});
    EXPECT_STREQ(FindMalwareHash("abcdef"), ThreatMark);
    EXPECT_STREQ(FindMalwareHash("  abcdef  "), ThreatMark);
    EXPECT_STREQ(FindMalwareHash("abcde"), OkMark);
    // A key is data, never statement text.
    EXPECT_STREQ(FindMalwareHash("x' OR '1'='1"), OkMark);
    EXPECT_STREQ(FindMalwareHash("'"), OkMark);
}

// A database file that lists abc's SHA-256, opened as MalwareDb with a busy time-out short enough for a test
// (the outcome does not depend on it: the lock below is held throughout).
class MalwareDbFile {
  public:
    explicit MalwareDbFile(const TempFolder& folder) : path_(folder.path() + "/signatures.db") {
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        sqlite3_exec(db, kCreateTableStatement, nullptr, nullptr, nullptr);
        std::string insert =
            "INSERT INTO malware_hashes VALUES ('" + std::string(kAbcSha256) + "','Test','Test');";
        sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    ~MalwareDbFile() {
        sqlite3_close(other_);
        CloseMalwareDatabase();
    }
    void Open() {
        CloseMalwareDatabase();
        sqlite3_open_v2(path_.c_str(), &MalwareDb, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(MalwareDb, 20);
    }
    // Another connection takes the file as a second program's import would, until Release.
    void HoldExclusively() {
        sqlite3_open(path_.c_str(), &other_);
        ASSERT_EQ(sqlite3_exec(other_, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    void Release() { ASSERT_EQ(sqlite3_exec(other_, "ROLLBACK;", nullptr, nullptr, nullptr), SQLITE_OK); }
    // Overwrites every page after the first (the schema), so the table and its index are garbage.
    void DamagePages() {
        CloseMalwareDatabase();
        std::fstream file(path_, std::ios::in | std::ios::out | std::ios::binary);
        file.seekg(0, std::ios::end);
        auto size = static_cast<size_t>(file.tellg());
        ASSERT_GT(size, 4096u);
        file.seekp(4096);
        file << std::string(size - 4096, '\x5a');
    }

  private:
    std::string path_;
    sqlite3* other_ = nullptr;
};

// A look-up the database cannot answer gives the error mark, never OK: a file that was not looked up must
// not pass for one that is not listed.
TEST(FindMalwareHashTest, UnansweredLookUpIsAnError) {
    EXPECT_STREQ(FindMalwareHash(kAbcSha256), ErrorMark) << "no database";
    sqlite3_open(":memory:", &MalwareDb);
    EXPECT_STREQ(FindMalwareHash(kAbcSha256), ErrorMark) << "no table";
    CloseMalwareDatabase();

    TempFolder folder;
    MalwareDbFile db(folder);
    db.Open();
    EXPECT_STREQ(FindMalwareHash(kAbcSha256), ThreatMark);
    db.HoldExclusively();
    EXPECT_STREQ(FindMalwareHash(kAbcSha256), ErrorMark) << "busy past the time-out";
    EXPECT_STREQ(FindMalwareHash("abcde"), ErrorMark) << "busy past the time-out";
    db.Release();
    EXPECT_STREQ(FindMalwareHash(kAbcSha256), ThreatMark) << "answered again once the lock is gone";

    db.DamagePages();
    db.Open();
    EXPECT_STREQ(FindMalwareHash(kAbcSha256), ErrorMark) << "damaged page";
}

// While the database cannot be read every checksum stays visible with the error mark, and the end of the run
// says why; the next run that can read it marks as usual.
TEST_F(ChecksumWorkerTest, UnansweredLookUpsMarkRowsAndTheEndTextSaysWhy) {
    MalwareDbFile db(files_);
    db.Open();
    std::string list = files_.Write("a", "abc") + "\n" + files_.Write("b", "other");
    db.HoldExclusively();
    StartRun(list, "SHA256");
    PumpUntilRunEnds();
    auto rows = TheUi().Rows(kChecksumList);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells[1], kAbcSha256);
    for (const auto& row : rows) {
        EXPECT_EQ(row.cells[4], ErrorMark);
        EXPECT_FALSE(row.red);
    }
    EXPECT_EQ(TheUi().Text(kStatusLine), kLookupFailedText);

    db.Release();
    StartRun(list, "SHA256");
    PumpUntilRunEnds();
    rows = TheUi().Rows(kChecksumList);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells[4], ThreatMark);
    EXPECT_EQ(rows[1].cells[4], OkMark);
    EXPECT_EQ(TheUi().Text(kStatusLine), kCompletionText);
}

}  // namespace
}  // namespace corvane
