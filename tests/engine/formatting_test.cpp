#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/format_duration.h"
#include "platform/byte_count.h"

namespace corvane {
namespace {

TEST(FormatDurationTest, Table) {
    const std::pair<int64_t, const char*> cases[] = {
        {-1, "?:??"},        {-3600, "?:??"},     {0, "0:00"},           {7, "0:07"},       {59, "0:59"},
        {60, "1:00"},        {125, "2:05"},       {3599, "59:59"},       {3600, "1:00:00"}, {3723, "1:02:03"},
        {36000, "10:00:00"}, {65535, "18:12:15"}, {360000, "100:00:00"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(FormatDuration(seconds), text) << seconds;
}

// Decimal units; halves round up; a value that rounds to 1000 of a unit moves to the next unit.
TEST(FormatByteCountTest, UnitsAndRoundingBoundaries) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "Zero KB"},
        {1, "1 byte"},
        {2, "2 bytes"},
        {999, "999 bytes"},
        {1000, "1 KB"},
        {1499, "1 KB"},
        {1500, "2 KB"},
        {1024, "1 KB"},
        {999'499, "999 KB"},
        {999'500, "1 MB"},
        {1'000'000, "1 MB"},
        {1'049'999, "1 MB"},
        {1'050'000, "1.1 MB"},
        {1'500'000, "1.5 MB"},
        {10'485'760, "10.5 MB"},
        {999'949'999, "999.9 MB"},
        {999'950'000, "1 GB"},
        {1'200'000'000, "1.2 GB"},
        {1'234'567'890, "1.23 GB"},
        {1'234'999'999, "1.23 GB"},
        {1'235'000'000, "1.24 GB"},
        {1'205'000'000, "1.21 GB"},
        {2'000'000'000, "2 GB"},
        {999'994'999'999, "999.99 GB"},
        {999'995'000'000, "1 TB"},
        {1'234'567'890'123, "1.23 TB"},
        {1'500'000'000'000'000, "1.5 PB"},
        {std::numeric_limits<int64_t>::max(), "9.22 EB"},
        {-1, "-1 bytes"},
        {-2, "-2 bytes"},
        {-1500, "-2 KB"},
        {std::numeric_limits<int64_t>::min(), "-9.22 EB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(platform::FormatByteCount(bytes), text) << bytes;
}

}  // namespace
}  // namespace corvane
