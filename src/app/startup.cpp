#include "app/startup.h"

#include <unistd.h>

#include <clocale>

#include "app/appearance.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/search.h"
#include "engine/run_control.h"
#include "engine/run_state.h"
#include "inputs/exclusions.h"
#include "inputs/exclusions_file.h"
#include "malwaredb/database.h"
#include "malwaredb/open_database.h"
#include "malwaredb/update_files.h"
#include "malwaredb/updater.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/paths.h"
#include "platform/screens.h"
#include "platform/termination_signals.h"
#include "platform/ui.h"
#include "program/alerts.h"
#include "program/clipboard_state.h"
#include "program/ids.h"
#include "program/program_end.h"
#include "program/settings.h"

namespace corvane {

namespace {

void SetProcessLocale() {
    setlocale(LC_ALL, "en_US.UTF-8");
    setlocale(LC_NUMERIC, "C");
}

// The working directory becomes the bundle's "Contents" folder when there is one.
void EnterBundleContents() {
    std::string bundle = platform::BundlePath();
    if (bundle.empty()) return;
    std::string contents = bundle + "/Contents";
    if (contents.size() > 255) return;
    if (chdir(contents.c_str()) != 0) {
        // No "Contents" folder: the working directory stays as it is.
    }
}

}  // namespace

void InitializeSharedState() {
    SearchText.clear();
    SearchLastRow = -1;
    PasteboardChangeCount = -1;
    ClipboardWatchEnabled = true;
    SkipNextPaste = false;
    WorkerRunning = false;
    AbortRequested = false;
    ExcludedDirs = kDefaultExcludedDirs;
    ExcludedExtensions = "tmp|log|bak";
    MalwareDbPath = DefaultMalwareDbPath();
    UpdateRunning = false;
    PostUpdateEvents = true;
    ExclusionsConfigPath = platform::HomeFolderPath() + "Library/Preferences/Corvane_ExclusionsConfig.txt";
}

int ChosenDisplayWidth(const std::vector<platform::Rect>& displays, platform::Point pointer) {
    if (displays.empty()) return 0;
    for (size_t i = displays.size(); i-- > 0;) {
        const platform::Rect& d = displays[i];
        if (d.x <= pointer.x && pointer.x <= d.x + d.width && d.y <= pointer.y &&
            pointer.y <= d.y + d.height) {
            return d.width;
        }
    }
    return displays.front().width;
}

void CheckDisplayWidth() {
    auto& screens = platform::Screens();
    if (ChosenDisplayWidth(screens.Displays(), screens.PointerPosition()) >= kMinimumDisplayWidth) return;
    ShowErrorAlert(
        "Sorry, the minimum screen resolution must be greater than 1024 pixels wide to run this "
        "program.\n\rThe program will now quit.\n");
    EndProgram();
}

void CatchTerminationSignals() {
    platform::WatchTerminationSignals(TerminateProgram);
}

void TerminateProgram() {
    AbortRequested = true;
    StopUpdateForProgramEnd();
    RemoveUpdateFilesForProgramEnd();
    platform::StopFileWrites();
    EndProgram();
}

void RunProgram() {
    platform::CaptureUserLocale();  // before the process locale is set below
    auto& application = platform::Application();
    application.ActivateApplication();
    application.CreateApplication();
    SetProcessLocale();
    EnterBundleContents();
    InitializeSharedState();
    RegisterAppearanceObserver();
    CheckDisplayWidth();
    InitializeDatabaseLibrary();
    ReadSettings();
    OpenMalwareDatabase();
    LoadExclusions();
    BuildMainWindow();
    if (!platform::TheUi().WindowExists(kMainWindow)) EndProgram();
    RunEventLoop();
}

void ShutdownProgram() {
    if (WorkerRunning) StopChecksumRun();
    ReleaseSearchField();
    DeleteUpdateTempFiles();
    RemoveAppearanceObserver();
    EndProgram();
}

}  // namespace corvane
