#include "engine/format_duration.h"

namespace corvane {

namespace {

std::string TwoDigits(int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

}  // namespace

std::string FormatDuration(int64_t seconds) {
    if (seconds < 0) return "?:??";
    if (seconds < 3600) return std::to_string(seconds / 60) + ":" + TwoDigits(seconds % 60);
    return std::to_string(seconds / 3600) + ":" + TwoDigits(seconds % 3600 / 60) + ":" +
           TwoDigits(seconds % 60);
}

}  // namespace corvane
