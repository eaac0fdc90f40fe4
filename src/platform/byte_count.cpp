#include "platform/byte_count.h"

namespace corvane::platform {

namespace {

struct Unit {
    const char* name;
    unsigned __int128 size;  // in bytes
    int decimals;
};

constexpr unsigned __int128 kK = 1000;
constexpr Unit kUnits[] = {
    {"KB", kK, 0},
    {"MB", kK* kK, 1},
    {"GB", kK* kK* kK, 2},
    {"TB", kK* kK* kK* kK, 2},
    {"PB", kK* kK* kK* kK* kK, 2},
    {"EB", kK* kK* kK* kK* kK* kK, 2},
};

// "12.30" becomes "12.3", "12.00" becomes "12".
std::string WithDecimals(uint64_t scaled, int decimals) {
    uint64_t factor = decimals == 2 ? 100 : decimals == 1 ? 10 : 1;
    std::string text = std::to_string(scaled / factor);
    uint64_t fraction = scaled % factor;
    if (fraction == 0) return text;
    std::string digits = std::to_string(fraction);
    digits.insert(0, static_cast<size_t>(decimals) - digits.size(), '0');
    while (digits.back() == '0') digits.pop_back();
    return text + "." + digits;
}

std::string FormatMagnitude(uint64_t bytes) {
    if (bytes == 0) return "Zero KB";
    if (bytes == 1) return "1 byte";
    if (bytes < 1000) return std::to_string(bytes) + " bytes";
    for (const Unit& unit : kUnits) {
        // Integer arithmetic, so that boundaries such as 999,500 bytes round exactly.
        unsigned __int128 factor = unit.decimals == 2 ? 100 : unit.decimals == 1 ? 10 : 1;
        unsigned __int128 scaled = (bytes * factor * 2 + unit.size) / (unit.size * 2);
        if (scaled < 1000 * factor || &unit == &kUnits[std::size(kUnits) - 1]) {
            return WithDecimals(static_cast<uint64_t>(scaled), unit.decimals) + " " + unit.name;
        }
    }
    return {};
}

}  // namespace

std::string FormatByteCount(int64_t bytes) {
    if (bytes >= 0) return FormatMagnitude(static_cast<uint64_t>(bytes));
    std::string text = FormatMagnitude(0 - static_cast<uint64_t>(bytes));
    // Only exactly one byte is singular.
    if (text == "1 byte") text = "1 bytes";
    return "-" + text;
}

}  // namespace corvane::platform
