// The main window and its controls.
#pragma once

#include <string>

namespace corvane {

inline const char* const kTitlePrefix = "Corvane v1.12 Beta \xE2\x80\xA2 Malware Database loaded with ";

// The window title for a hash count, grouped by the locale.
std::string MainWindowTitle(int hashCount);
// Builds the main window with every control in its initial place and state.
void BuildMainWindow();

}  // namespace corvane
