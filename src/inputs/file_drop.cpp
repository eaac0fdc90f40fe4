#include "inputs/file_drop.h"

#include <string_view>

#include "engine/run_control.h"
#include "engine/run_phase.h"
#include "engine/run_state.h"
#include "inputs/directory_scan.h"
#include "inputs/excluded_file.h"
#include "inputs/exclusions.h"
#include "platform/files.h"
#include "platform/path_lines.h"
#include "platform/sounds.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "program/alerts.h"
#include "program/ids.h"

namespace corvane {

namespace {

// A dropped folder that is exactly one of the entries (case aside) is passed over as a whole. Unlike the
// prefix test, entries are not trimmed and a trailing "/" counts.
bool IsExcludedFolderEntry(const std::string& folder) {
    if (TrimBlanks(ExcludedDirs).empty()) return false;
    std::string entries = "|" + ToLowerSimple(ExcludedDirs) + "|";
    return entries.find("|" + ToLowerSimple(folder) + "|") != std::string::npos;
}

// Appends one item by the list's rule: a line feed first unless the list is empty. An empty folder scan
// adds nothing. The platform drops whole paths only: a relative one would name a file of the working folder,
// not anything the user dropped.
void AppendDroppedPath(const std::string& path, std::string& list) {
    if (!path.starts_with('/')) return;
    platform::PathStatus status = platform::QueryPath(path);
    if (status.IsDirectory()) {
        if (IsExcludedFolderEntry(path)) return;
        const size_t mark = list.size();
        if (!list.empty()) list.push_back('\n');
        const size_t start = list.size();
        ScanDirectoryInto(path, 0, list);
        if (list.size() == start) list.resize(mark);
        return;
    }
    if (IsExcludedFile(path) || !status.HasSizeAbove0()) return;
    if (!list.empty()) list.push_back('\n');
    platform::AppendPathAsLine(list, path);
}

}  // namespace

std::string ExclusionsAlertText() {
    return "Corvane will exclude the following directories: \n\r" + ReplaceAll(ExcludedDirs, "|", ", ") +
           "\n\rHowever, you still may be able to process individual files from these directories.";
}

void HandleFileDrop(const platform::Event& drop) {
    auto& ui = platform::TheUi();
    StopChecksumRun();
    ui.ClearRows(kChecksumList);
    if (drop.data == 0) {
        platform::Sounds().PlaySystemSound(platform::kAlertSound);
        return;
    }

    FilePathList.clear();
    for (std::string_view line : SplitAt(drop.text, "\n")) {
        AppendDroppedPath(platform::PathOfLine(line), FilePathList);
    }
    if (FilePathList.empty()) {
        ShowErrorAlert(ExclusionsAlertText());
        return;
    }

    SetControlsForPhase(RunPhase::Queued);
    StartChecksumRun();
}

}  // namespace corvane
