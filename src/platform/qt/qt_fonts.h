// The fonts of the controls. The windows place their controls at fixed sizes (down to a 100 x 25 button
// titled "Export Checksums" with an icon), so a narrow face at a fixed pixel size is used rather than the
// desktop's font, whose size would not follow the fixed geometry.
#pragma once

#include <QFont>

namespace corvane::platform {

// Labels, fields, lists, check boxes and pop-up lists.
QFont ControlFont();
// Push button titles: one pixel smaller, so the longest title fits beside its icon.
QFont ButtonFont();

}  // namespace corvane::platform
