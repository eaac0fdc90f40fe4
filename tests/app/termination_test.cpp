// SIGTERM and SIGINT end the whole program with status 0 while the start-up update is busy: the update
// stops, its files go, and the database and the settings are left as they were.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/startup.h"
#include "malwaredb/database.h"
#include "malwaredb/update_files.h"
#include "malwaredb/update_window.h"
#include "platform/user_defaults.h"
#include "program/program_end.h"
#include "program/settings.h"
#include "support/app_fixture.h"
#include "support/export_server.h"
#include "support/rows_on_disk.h"
#include "support/whole_file.h"

namespace corvane {
namespace {

constexpr const char* kStoredValue = "Tue, 01 Dec 2026 08:00:00 GMT";

enum class When { DownloadRunning, HeaderProbeRunning, ImportStarting };

struct TerminationCase {
    const char* name;
    std::vector<std::string> serverArguments;
    int signal;
    bool existingDatabase;
    When when;
};
void PrintTo(const TerminationCase& c, std::ostream* os) {
    *os << c.name;
}

using testing::ReadWholeFile;

bool Exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

// What the program's end left behind, written by the last step of the end (the database is closed by
// then) in one line that the parent process matches.
std::string preferencesBefore;

using testing::RowsOnDisk;

void ReportWhatWasLeft() {
    std::string files;
    for (const char* path : {kHeadersFile, kDownloadFile, kHashListFile, kCsvFile}) {
        if (Exists(path)) files += std::string(path) + " ";
    }
    int folders = 0;
    std::string own = "corvane-" + std::to_string(getpid()) + "-";
    for (const auto& entry : std::filesystem::directory_iterator("/tmp")) {
        if (entry.path().filename().string().starts_with(own)) ++folders;
    }
    std::string preferences = platform::PreferencesFilePath();
    std::string settings = !Exists(preferences)                              ? "absent"
                           : ReadWholeFile(preferences) == preferencesBefore ? "unchanged"
                                                                             : "changed";
    std::fprintf(stderr, "left: files=[%s] folders=%d rows=%d journal=%s settings=%s\n", files.c_str(),
                 folders, RowsOnDisk(), Exists(MalwareDbPath + "-journal") ? "yes" : "no", settings.c_str());
}

bool LogHas(const std::string& log, const std::string& method) {
    return ReadWholeFile(log).find(method + "\t") != std::string::npos;
}

class TerminationDeathTest : public testing::AppTest, public ::testing::WithParamInterface<TerminationCase> {
  protected:
    // Runs the program against the server; the signal is sent once the update is in the case's state.
    void RunAndSignal(const std::string& log) {
        // As the program's entry does, before any thread exists.
        CatchTerminationSignals();
        const TerminationCase& c = GetParam();
        if (c.existingDatabase) {
            sqlite3* db = nullptr;
            sqlite3_open(MalwareDbPath.c_str(), &db);
            sqlite3_exec(db, kCreateTableStatement, nullptr, nullptr, nullptr);
            sqlite3_exec(db, SeedStatement().c_str(), nullptr, nullptr, nullptr);
            sqlite3_close(db);
            WriteStringSetting(kLastModifiedKey, kStoredValue);
            preferencesBefore = ReadWholeFile(platform::PreferencesFilePath());
        }
        AtProgramEnd(ReportWhatWasLeft);
        auto signal = [number = c.signal] { kill(getpid(), number); };
        if (c.when == When::ImportStarting) {
            UpdateProgressWatcher = [signal](int, const std::string& text) {
                if (text == "Importing into the Malware Database...") signal();
            };
        } else {
            std::thread([log, when = c.when, signal] {
                auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
                auto reached = [&] {
                    if (when == When::HeaderProbeRunning) return LogHas(log, "HEAD");
                    struct stat st {};
                    return LogHas(log, "GET") && stat(kDownloadFile, &st) == 0 && st.st_size > 0;
                };
                while (!reached() && std::chrono::steady_clock::now() < deadline) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
                signal();
            }).detach();
        }
        RunProgram();
    }
};

TEST_P(TerminationDeathTest, EndsWithStatusZeroAndLeavesEverythingAsItWas) {
    std::string log = home.Path() + "/requests.log";
    std::vector<std::string> arguments = GetParam().serverArguments;
    arguments.insert(arguments.end(), {"--request-log", log});
    testing::ExportServer server(arguments);
    ASSERT_NE(server.port(), 0);
    server.Use();
    // The hang guard is ctest's time-out: without the fix the program never ends (or ends by the signal).
    std::string settings = GetParam().existingDatabase ? "unchanged" : "absent";
    EXPECT_EXIT(RunAndSignal(log), ::testing::ExitedWithCode(0),
                "left: files=\\[\\] folders=0 rows=12 journal=no settings=" + settings + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TerminationDeathTest,
    ::testing::Values(
        TerminationCase{"trickling_download",
                        {"--mode", "trickle", "--hashes", "100000"},
                        SIGTERM,
                        false,
                        When::DownloadRunning},
        TerminationCase{"stalled_download", {"--mode", "stall"}, SIGINT, true, When::DownloadRunning},
        // curl asks for the headers on the main thread, before the update window opens.
        TerminationCase{
            "header_probe_running", {"--mode", "stallhead"}, SIGTERM, true, When::HeaderProbeRunning},
        TerminationCase{"import_starting", {"--hashes", "200000"}, SIGTERM, true, When::ImportStarting}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

}  // namespace
}  // namespace corvane
