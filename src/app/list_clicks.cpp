#include "app/list_clicks.h"

#include "engine/list_cells.h"
#include "platform/clipboard.h"
#include "platform/desktop.h"
#include "platform/ui.h"
#include "program/clipboard_state.h"
#include "program/ids.h"
#include "program/settings.h"

namespace corvane {

namespace {

// The selected row, when there is one.
std::optional<platform::ListRow> SelectedRow() {
    auto& ui = platform::TheUi();
    int row = ui.SelectedRow(kChecksumList);
    if (row < 0) return std::nullopt;
    return ui.Row(kChecksumList, static_cast<size_t>(row));
}

}  // namespace

void CopySelectedChecksum() {
    auto row = SelectedRow();
    if (!row) return;
    auto& clipboard = platform::Clipboard();
    clipboard.SetClipboardText(row->cells[kChecksumCell]);
    // Our own copy is no outside change for the watcher, and the next paste must not take it as paths.
    PasteboardChangeCount = clipboard.ClipboardChangeCount();
    SkipNextPaste = true;
}

void RevealSelectedFile() {
    if (UseShortPaths) return;  // the list does not show whole paths
    auto row = SelectedRow();
    if (!row || row->file.empty()) return;
    platform::Desktop().RevealFile(row->file);
}

}  // namespace corvane
