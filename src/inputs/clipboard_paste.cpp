#include "inputs/clipboard_paste.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/run_control.h"
#include "engine/run_phase.h"
#include "engine/run_state.h"
#include "inputs/directory_scan.h"
#include "inputs/excluded_file.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/path_lines.h"
#include "platform/text.h"
#include "program/alerts.h"
#include "program/clipboard_state.h"

namespace corvane {

namespace {

// Appends one pasted path by the list's rule (a line feed before every entry but the first), or nothing.
void AppendPastedPath(const std::string& path, std::string& list) {
    platform::PathStatus status = platform::QueryPath(path);
    if (IsExcludedFile(path)) return;
    if (status.IsDirectory()) {
        std::string files = ScanDirectory(path, 0);
        if (files.empty()) return;
        if (!list.empty()) list.push_back('\n');
        list.append(files);
        return;
    }
    if (!status.HasSizeAbove0()) return;
    if (!list.empty()) list.push_back('\n');
    platform::AppendPathAsLine(list, path);
}

// The accepted entries of the text, split at line feeds only, each without blanks at its ends.
std::string CollectPastedPaths(std::string_view text) {
    std::string list;
    for (std::string_view part : SplitAt(text, "\n")) {
        std::string line(TrimBlanks(part));
        if (!line.empty()) AppendPastedPath(line, list);
    }
    return list;
}

// The clipboard text, with its change count recorded: the watcher must not take the text this paste has
// already read for a new copy and run it again after the run. The count is read first, so a copy made while
// the text is read counts as a change.
std::string ReadClipboardText() {
    auto& clipboard = platform::Clipboard();
    int64_t count = clipboard.ClipboardChangeCount();
    std::string text = clipboard.ClipboardText();
    PasteboardChangeCount = count;
    return text;
}

}  // namespace

void PasteFromClipboard() {
    if (SkipNextPaste) {
        // The text is the checksum the user just copied from the list, not paths.
        SkipNextPaste = false;
        return;
    }
    ClipboardWatchEnabled = false;
    std::string text(TrimBlanks(ReadClipboardText()));
    if (text.empty()) {
        ShowErrorAlert("Clipboard is empty or invalid.\n");
        ClipboardWatchEnabled = true;
        return;
    }
    std::string collected = CollectPastedPaths(text);
    if (collected.empty()) {
        ShowErrorAlert("No valid files or directories found.\n");
        ClipboardWatchEnabled = true;
        return;
    }
    FilePathList = std::move(collected);
    SetControlsForPhase(RunPhase::Queued);
    StartChecksumRun();
    ClipboardWatchEnabled = true;
}

}  // namespace corvane
