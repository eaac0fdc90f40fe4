// The worker's progress notices: control events of type 144 for EtaLine, RunProgressBar and StatusLine.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/events.h"
#include "program/events.h"

namespace corvane {

// Seconds left travel in the low 16 bits of an EtaLine notice, the files remaining above them.
constexpr int64_t kMaxNoticeSeconds = 65535;

// Larger estimates are sent as 65535 so that they never spill into the count.
inline int64_t PackEtaNotice(int64_t filesRemaining, int64_t secondsLeft) {
    return filesRemaining * 65536 + std::clamp<int64_t>(secondsLeft, 0, kMaxNoticeSeconds);
}
inline int64_t NoticeFilesRemaining(int64_t data) {
    return data >> 16;
}
inline int64_t NoticeSecondsLeft(int64_t data) {
    return data & 0xFFFF;
}

// Posts a notice for the main window, tagged with the run that sends it.
inline void PostWorkerNotice(platform::ControlId control, int64_t data, uint64_t runNumber) {
    platform::Event event = ControlEvent(control, kWorkerProgress, data);
    event.serial = runNumber;
    platform::Events().Post(std::move(event));
}

}  // namespace corvane
