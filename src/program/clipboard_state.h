// The clipboard watcher's state, shared with the paste and the run control.
#pragma once

#include <atomic>
#include <cstdint>

namespace corvane {

// Window timer of the main window that drives the clipboard watcher.
constexpr int ClipboardTimer = 2001;
constexpr int kClipboardTimerIntervalMs = 2000;

inline int64_t PasteboardChangeCount = -1;
inline bool ClipboardWatchEnabled = true;
inline bool SkipNextPaste = false;

}  // namespace corvane
