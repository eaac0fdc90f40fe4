// Watches the clipboard for copied paths.
#pragma once

namespace corvane {

// On each tick of the clipboard timer: when the clipboard changed since the last look, pastes it.
void WatchClipboard();

}  // namespace corvane
