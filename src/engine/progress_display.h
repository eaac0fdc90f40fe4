// The main thread's side of the worker's notices: counts line, progress bar, status line and badge.
#pragma once

#include <cstdint>
#include <string>

#include "program/ids.h"

namespace corvane {

// Written only by HandleWorkerProgress.
inline int64_t FilesRemaining = 0;
inline int64_t EtaSeconds = 0;
inline int64_t PercentDone = 0;
inline std::string DockBadgeText;

// Handles one notice of type 144 for EtaLine, RunProgressBar or StatusLine. Notices of a run that is no
// longer the current one (stopped, or followed by another) change nothing.
void HandleWorkerProgress(platform::ControlId control, int64_t data, uint64_t runNumber);

// The share done for the counts line: rounded, halves away from zero; never divides by zero.
int64_t CountsPercent(int64_t totalFiles, int64_t filesRemaining);

}  // namespace corvane
