// The main window's controls as a drop or a paste leaves them just before a run starts.
#pragma once

namespace corvane {

// Everything but the Abort button is disabled.
void SetRunStartControls();

}  // namespace corvane
