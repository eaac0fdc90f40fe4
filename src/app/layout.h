// The main window's minimum size and the frames that follow its size.
#pragma once

#include <array>

#include "platform/geometry.h"

namespace corvane {

inline constexpr platform::Size kMinimumContentSize{800, 500};

struct MainLayout {
    platform::Size content;  // the size after the minimum is enforced
    platform::Rect statusLine, checksumList, progressBar, etaLine, abortButton, clearFilesButton,
        exportButton, exclusionsButton;
    std::array<int, 5> columnWidths;
};

// The layout for a content size (pure).
MainLayout ComputeMainLayout(platform::Size content);
// Enforces the minimum content size and places the controls that follow the window's size.
void LayoutMainWindow();

}  // namespace corvane
