// Paths pasted from the clipboard as the file list of a new run.
#pragma once

namespace corvane {

// Reads the clipboard's plain text one path per line, keeps existing non-empty files and what pasted folders
// scan to, and starts a run on them.
void PasteFromClipboard();

}  // namespace corvane
