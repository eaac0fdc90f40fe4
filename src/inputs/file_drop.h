// Files and folders dropped on the main window become the file list of a new run.
#pragma once

#include "platform/events.h"

namespace corvane {

// For a drop event of the main window: stops any run, clears the list, and starts a run on the dropped
// files and the files of the dropped folders that are not excluded; shows the exclusions alert when
// nothing is left. The event's text holds the paths one per line (a line feed of a name as NUL,
// platform/path_lines.h); its data is 1 when it carries file names.
void HandleFileDrop(const platform::Event& drop);

// The alert's text for the current ExcludedDirs.
std::string ExclusionsAlertText();

}  // namespace corvane
