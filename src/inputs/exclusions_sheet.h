// The sheet in which the user edits the excluded directories.
#pragma once

#include <cstddef>

namespace corvane {

// The editor's length limit, in UTF-16 units.
constexpr size_t kMaxExclusionsLength = 1048;

// Opens the sheet over the main window and handles its events until the user saves or cancels; every
// other event that arrives meanwhile is dropped. The list in force afterwards is what the exclusions file
// says, when there is one.
void EditExclusions();

}  // namespace corvane
