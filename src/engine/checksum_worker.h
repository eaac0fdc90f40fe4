// The worker thread of one checksum run: one result row and three progress notices per field of the file
// list, then the end display.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/checksum_algorithm.h"

namespace corvane {

// The link between the main thread and one run's worker.
struct WorkerHandle {
    uint64_t runNumber = 0;
    // This run's own stop request. Unlike AbortRequested it is never cleared, so a worker that outlived
    // the main thread's wait still stops at its next test.
    std::atomic<bool> stopRequested{false};
    // Set by the worker as its last step.
    std::atomic<bool> ended{false};
};

// What a run starts with; the worker owns it and releases it at its end.
struct ChecksumRunParams {
    std::string Files;  // the run's FilePathList
    // The algorithm the popup showed at the start; none when its text was no algorithm's name.
    std::optional<ChecksumAlgorithm> Algorithm;
    std::shared_ptr<WorkerHandle> Handle;
};

// Worker threads that have not ended yet, abandoned ones included.
inline std::atomic<int> LiveWorkers{0};

inline const char* const kCompletionText =
    "Checksum processing completed! Left-click to copy a checksum to the Clipboard or right-click to copy a "
    "filename.";
// The end of a completed run in which the malware database could not answer a look-up.
inline const char* const kLookupFailedText =
    "Checksum processing completed, but the malware database could not be read: files marked \xE2\x9D\x8C"
    " were not checked.";

// The thread's body.
void ChecksumWorker(std::unique_ptr<ChecksumRunParams> params);

// The list's name for a path: the full path, or with short names the parent folder's name, "/" and the
// file name.
std::string DisplayName(const std::string& path, bool shortNames);
// The text after the last "/" (the whole path without one).
std::string FileNameOf(const std::string& path);
// "mm/dd/yy" for en_US and en_CA, "dd-mm-yy" for every other locale, "Unknown" without a time or when the
// local time is not after 1970-01-01 00:00:00.
std::string FormatFileDate(std::optional<int64_t> modified, const std::string& localeIdentifier);
// Seconds left after field index (from 0) of total, elapsedMs after the start; halves round up.
int64_t EstimateSecondsLeft(int64_t total, int64_t index, int64_t elapsedMs);

}  // namespace corvane
