// Shortens how long the update's download may go without a byte, so a stalled server is given up quickly.
#pragma once

#include <chrono>

#include "malwaredb/updater.h"

namespace corvane {

inline void SetDownloadStallLimitForTesting(std::chrono::milliseconds limit) {
    DownloadStallLimit = limit;
}

}  // namespace corvane
