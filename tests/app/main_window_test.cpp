#include "app/main_window.h"

#include <gtest/gtest.h>

#include "engine/run_control.h"
#include "platform/locale.h"
#include "program/clipboard_state.h"
#include "program/ids.h"
#include "support/app_fixture.h"
#include "support/locale_for_testing.h"

namespace corvane {
namespace {

using platform::ControlId;
using platform::ControlKind;
using platform::Rect;

class MainWindowTest : public testing::AppTest {};

struct ControlCase {
    ControlId id;
    ControlKind kind;
    Rect frame;
    const char* text;
    bool enabled;
};

TEST_F(MainWindowTest, EveryControlStartsInItsPlaceAndState) {
    BuildWindow();
    const ControlCase cases[] = {
        {kAlgorithmLabel, ControlKind::Label, {10, 30, 580, 25}, "Choose the checksum algorithm:", true},
        {kExclusionsButton, ControlKind::Button, {660, 50, 130, 30}, "Exclusions", true},
        {kExportButton, ControlKind::Button, {480, 50, 170, 30}, "Export Checksums", false},
        {kAlgorithmPopup, ControlKind::Popup, {10, 50, 200, 25}, "", true},
        {kSearchField, ControlKind::SearchField, {560, 5, 190, 24}, "", false},
        {kClearFilesButton, ControlKind::Button, {660, 460, 130, 25}, "Clear Files", false},
        {kShortPathsCheckbox, ControlKind::Checkbox, {240, 50, 320, 25}, "Use short file paths", true},
        {kDockTimeCheckbox, ControlKind::Checkbox, {240, 30, 300, 25}, "Show time left on Dock", true},
        {kStatusLine, ControlKind::TextField, {10, 90, 780, 25}, kReadyText, true},
        {kChecksumList, ControlKind::Table, {10, 130, 780, 296}, "", false},
        {kAbortButton, ControlKind::Button, {560, 460, 100, 25}, "Abort", false},
        {kRunProgressBar, ControlKind::ProgressBar, {10, 440, 780, 20}, "", true},
        {kEtaLine, ControlKind::Label, {10, 460, 600, 25}, "", true},
        {kAlgorithmHelpIcon, ControlKind::HelpIcon, {210, 54, 24, 24}, "", true},
        {kShortPathsHelpIcon, ControlKind::HelpIcon, {384, 54, 24, 24}, "", true},
        {kDockTimeHelpIcon, ControlKind::HelpIcon, {404, 34, 24, 24}, "", true},
        {kSearchHelpIcon, ControlKind::HelpIcon, {760, 10, 24, 24}, "", false},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.id));
        platform::ControlState state = ui().Control(c.id);
        EXPECT_EQ(state.kind, c.kind);
        EXPECT_EQ(state.window, kMainWindow);
        EXPECT_EQ(state.frame, c.frame);
        EXPECT_EQ(state.Text(), c.text);
        EXPECT_EQ(state.enabled, c.enabled);
    }
    EXPECT_EQ(ui().ControlsOf(kMainWindow).size(), std::size(cases));
}

TEST_F(MainWindowTest, ChoicesColumnsImagesAndColours) {
    BuildWindow();
    auto popup = std::get<platform::PopupState>(ui().Control(kAlgorithmPopup).fields);
    EXPECT_EQ(popup.items, (std::vector<std::string>{"MD5", "CRC32", "SHA1", "SHA256", "SHA512"}));
    EXPECT_EQ(ui().SelectedItemText(kAlgorithmPopup), "MD5");

    auto list = std::get<platform::TableState>(ui().Control(kChecksumList).fields);
    EXPECT_EQ(list.columnTitles,
              (std::vector<std::string>{"File Name", "File Checksum", "File Size", "File Date", "Status"}));
    EXPECT_EQ(list.columnWidths, (std::vector<int>{360, 200, 80, 80, 50}));
    EXPECT_EQ(ui().RowCount(kChecksumList), 0u);

    auto status = std::get<platform::FieldState>(ui().Control(kStatusLine).fields);
    EXPECT_EQ(status.background, 0xDFFEFFu);
    EXPECT_EQ(status.foreground, 0u);

    const std::pair<ControlId, const char*> images[] = {{kExportButton, "arrow.down.document"},
                                                        {kExclusionsButton, "folder"},
                                                        {kAbortButton, "stop.fill"},
                                                        {kClearFilesButton, "xmark"}};
    for (const auto& [id, image] : images) {
        auto button = std::get<platform::ButtonState>(ui().Control(id).fields);
        EXPECT_EQ(button.image, image);
        EXPECT_TRUE(button.imageLeft);
        EXPECT_EQ(button.align, platform::TextAlign::Right);
    }
    EXPECT_EQ(std::get<platform::ButtonState>(ui().Control(kExportButton).fields).bezel,
              platform::Bezel::Square);
    EXPECT_EQ(std::get<platform::ButtonState>(ui().Control(kAbortButton).fields).bezel,
              platform::Bezel::Rounded);
}

TEST_F(MainWindowTest, TooltipsAreTheFullTexts) {
    BuildWindow();
    EXPECT_TRUE(ui().Control(kAlgorithmHelpIcon).tooltip.starts_with("MD5: Fast. Useful for legacy"));
    EXPECT_TRUE(
        ui().Control(kAlgorithmHelpIcon)
            .tooltip.ends_with("\n\rNOTE: Switching between any of these will automatically re-process the "
                               "current set of files."));
    EXPECT_TRUE(ui().Control(kShortPathsHelpIcon)
                    .tooltip.ends_with("Exports will ignore this setting and include the full file path."));
    EXPECT_EQ(
        ui().Control(kSearchHelpIcon).tooltip,
        "You can use this field to locate specific directories and files by name. It will start returning "
        "results once at least 3 matching characters have been typed.");
    EXPECT_TRUE(ui().Control(kDockTimeHelpIcon).tooltip.starts_with("Checking this option displays"));
}

TEST_F(MainWindowTest, TheWindowTakesItsTitleTimerAndDrops) {
    services.SetClipboardFromOutside("a");
    services.SetClipboardFromOutside("b");
    BuildWindow();
    auto window = ui().Window(kMainWindow);
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->title, "Corvane v1.12 Beta \xE2\x80\xA2 Malware Database loaded with 0 hashes");
    EXPECT_EQ(window->contentSize, (platform::Size{800, 500}));
    EXPECT_TRUE(window->acceptsFileDrops);
    EXPECT_EQ(window->activations, 1);
    EXPECT_TRUE(platform::Events().HasTimer(kMainWindow, ClipboardTimer));
    EXPECT_EQ(PasteboardChangeCount, 2);
}

TEST_F(MainWindowTest, TheSettingsAreShownWithoutTheSha256Rule) {
    SelectedAlgorithm = "SHA256";
    UseShortPaths = 1;
    ShowDockTime = 1;
    BuildMainWindow();
    EXPECT_EQ(ui().SelectedItemText(kAlgorithmPopup), "SHA256");
    EXPECT_TRUE(ui().IsChecked(kShortPathsCheckbox));
    EXPECT_TRUE(ui().IsEnabled(kShortPathsCheckbox));
    EXPECT_TRUE(ui().IsChecked(kDockTimeCheckbox));
}

TEST_F(MainWindowTest, AnUnknownAlgorithmKeepsTheFirstEntry) {
    SelectedAlgorithm = "";
    BuildMainWindow();
    EXPECT_EQ(ui().SelectedItemText(kAlgorithmPopup), "MD5");
}

TEST_F(MainWindowTest, TheTitleGroupsTheCountByLocale) {
    platform::SetLocaleIdentifierForTesting("en_US");
    EXPECT_EQ(MainWindowTitle(1234567),
              "Corvane v1.12 Beta \xE2\x80\xA2 Malware Database loaded with 1,234,567 hashes");
}

}  // namespace
}  // namespace corvane
