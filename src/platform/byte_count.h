// File sizes in decimal units, as a file manager writes them.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::platform {

// "Zero KB", "1 byte", "999 bytes", whole kilobytes ("1 KB" ... "999 KB"), megabytes with one decimal
// ("1.5 MB"), larger units with two ("1.23 GB", "1.23 TB"); trailing zeros dropped, halves rounded up, and a
// value that rounds to 1000 of its unit is written in the next one. Negative values keep their sign
// ("-1 bytes").
std::string FormatByteCount(int64_t bytes);

}  // namespace corvane::platform
