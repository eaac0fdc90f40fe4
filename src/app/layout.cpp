#include "app/layout.h"

#include <cmath>

#include "platform/ui.h"
#include "program/ids.h"

namespace corvane {

namespace {

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

MainLayout ComputeMainLayout(platform::Size content) {
    int w = content.width < kMinimumContentSize.width ? kMinimumContentSize.width : content.width;
    int h = content.height < kMinimumContentSize.height ? kMinimumContentSize.height : content.height;
    MainLayout layout;
    layout.content = {w, h};
    layout.statusLine = {10, 90, w - 20, 25};
    layout.checksumList = {10, 130, w - 20, h - 240};
    layout.progressBar = {10, h - 100, w - 20, 20};
    layout.etaLine = {10, h - 75, w - 20, 25};
    layout.abortButton = {w - 280, h - 35, 100, 25};
    layout.clearFilesButton = {w - 120, h - 35, 100, 25};
    layout.exportButton = {w - 240, 50, 100, 25};
    layout.exclusionsButton = {w - 360, 50, 100, 25};
    // 0.15000000000000002 is the double just above 0.15, which the third column's width depends on.
    const double factors[] = {0.45, 0.25, 0.15000000000000002, 0.1, 0.05};
    for (size_t i = 0; i < layout.columnWidths.size(); ++i) {
        layout.columnWidths[i] = RoundHalfEven(static_cast<double>(w - 20) * factors[i]);
    }
    return layout;
}

void LayoutMainWindow() {
    using platform::ControlId;
    auto& ui = platform::TheUi();
    platform::Size size = ui.ContentSize(kMainWindow);
    MainLayout layout = ComputeMainLayout(size);
    // The width is corrected first, then the height; each keeps the other side as it is.
    if (size.width < kMinimumContentSize.width) {
        size.width = layout.content.width;
        ui.SetContentSize(kMainWindow, size);
    }
    if (size.height < kMinimumContentSize.height) {
        size.height = layout.content.height;
        ui.SetContentSize(kMainWindow, size);
    }
    ui.SetFrame(kStatusLine, layout.statusLine);
    ui.SetFrame(kChecksumList, layout.checksumList);
    ui.SetFrame(kRunProgressBar, layout.progressBar);
    ui.SetFrame(kEtaLine, layout.etaLine);
    ui.SetFrame(kAbortButton, layout.abortButton);
    ui.SetFrame(kClearFilesButton, layout.clearFilesButton);
    ui.SetFrame(kExportButton, layout.exportButton);
    ui.SetFrame(kExclusionsButton, layout.exclusionsButton);
    ui.SetColumnWidths(kChecksumList, {layout.columnWidths.begin(), layout.columnWidths.end()});
}

}  // namespace corvane
