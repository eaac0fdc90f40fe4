// Which cell of a checksum list row holds what, in the list's column order.
#pragma once

#include <cstddef>

#include "platform/ui.h"

namespace corvane {

inline constexpr size_t kNameCell = 0;      // "File Name": the path or short name as shown
inline constexpr size_t kChecksumCell = 1;  // "File Checksum": the checksum or an error text
inline constexpr size_t kSizeCell = 2;      // "File Size"
inline constexpr size_t kDateCell = 3;      // "File Date"
inline constexpr size_t kStatusCell = 4;    // "Status": one of the status marks
static_assert(kStatusCell + 1 == platform::kColumns);

}  // namespace corvane
