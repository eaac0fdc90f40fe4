// A number of seconds as the counts line, the badge and the status text show it.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// "h:mm:ss" from one hour up, "m:ss" below, "?:??" for a negative value.
std::string FormatDuration(int64_t seconds);

}  // namespace corvane
