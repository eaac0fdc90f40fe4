// The state of the current checksum run, shared by the main thread and the worker.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace corvane {

// Set while a run is active.
inline std::atomic<bool> WorkerRunning{false};
// Set by the main thread to ask the worker to stop.
inline std::atomic<bool> AbortRequested{false};
// The paths of the run as one text separated by line feeds; empty fields count and produce no row. Each
// field is a path written as a line: a line feed of the name travels as NUL (platform/path_lines.h).
inline std::string FilePathList;
// The number of fields of the running run's file list.
inline std::atomic<int64_t> TotalFiles{0};
// The status line's next text; assigned under UiMutex.
inline std::string StatusText;
// The number of the run whose worker may still change shared state and whose notices are still shown.
// Changed only by the main thread, under UiMutex, when a run starts or is stopped.
inline std::atomic<uint64_t> CurrentRunNumber{0};

}  // namespace corvane
