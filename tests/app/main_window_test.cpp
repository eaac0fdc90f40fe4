#include "app/main_window.h"

#include <gtest/gtest.h>

#include "engine/run_control.h"
#include "platform/locale.h"
#include "program/clipboard_state.h"
#include "support/app_fixture.h"
#include "support/locale_for_testing.h"

namespace corvane {
namespace {

using platform::ControlId;
using platform::ControlKind;
using platform::Rect;
using platform::WindowId;

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
        {ControlId::AlgorithmLabel,
         ControlKind::Label,
         {10, 30, 580, 25},
         "Choose the checksum algorithm:",
         true},
        {ControlId::ExclusionsButton, ControlKind::Button, {660, 50, 130, 30}, "Exclusions", true},
        {ControlId::ExportButton, ControlKind::Button, {480, 50, 170, 30}, "Export Checksums", false},
        {ControlId::AlgorithmPopup, ControlKind::Popup, {10, 50, 200, 25}, "", true},
        {ControlId::SearchField, ControlKind::SearchField, {560, 5, 190, 24}, "", false},
        {ControlId::ClearFilesButton, ControlKind::Button, {660, 460, 130, 25}, "Clear Files", false},
        {ControlId::ShortPathsCheckbox,
         ControlKind::Checkbox,
         {240, 50, 320, 25},
         "Use short file paths",
         true},
        {ControlId::DockTimeCheckbox,
         ControlKind::Checkbox,
         {240, 30, 300, 25},
         "Show time left on Dock",
         true},
        {ControlId::StatusLine, ControlKind::TextField, {10, 90, 780, 25}, kReadyText, true},
        {ControlId::ChecksumList, ControlKind::Table, {10, 130, 780, 296}, "", false},
        {ControlId::AbortButton, ControlKind::Button, {560, 460, 100, 25}, "Abort", false},
        {ControlId::RunProgressBar, ControlKind::ProgressBar, {10, 440, 780, 20}, "", true},
        {ControlId::EtaLine, ControlKind::Label, {10, 460, 600, 25}, "", true},
        {ControlId::AlgorithmHelpIcon, ControlKind::HelpIcon, {210, 54, 24, 24}, "", true},
        {ControlId::ShortPathsHelpIcon, ControlKind::HelpIcon, {384, 54, 24, 24}, "", true},
        {ControlId::DockTimeHelpIcon, ControlKind::HelpIcon, {404, 34, 24, 24}, "", true},
        {ControlId::SearchHelpIcon, ControlKind::HelpIcon, {760, 10, 24, 24}, "", false},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.id));
        platform::ControlState state = ui().Control(c.id);
        EXPECT_EQ(state.kind, c.kind);
        EXPECT_EQ(state.window, WindowId::Main);
        EXPECT_EQ(state.frame, c.frame);
        EXPECT_EQ(state.text, c.text);
        EXPECT_EQ(state.enabled, c.enabled);
    }
    EXPECT_EQ(ui().ControlsOf(WindowId::Main).size(), std::size(cases));
}

TEST_F(MainWindowTest, ChoicesColumnsImagesAndColours) {
    BuildWindow();
    auto popup = ui().Control(ControlId::AlgorithmPopup);
    EXPECT_EQ(popup.items, (std::vector<std::string>{"MD5", "CRC32", "SHA1", "SHA256", "SHA512"}));
    EXPECT_EQ(ui().SelectedItemText(ControlId::AlgorithmPopup), "MD5");

    auto list = ui().Control(ControlId::ChecksumList);
    EXPECT_EQ(list.items,
              (std::vector<std::string>{"File Name", "File Checksum", "File Size", "File Date", "Status"}));
    EXPECT_EQ(list.columnWidths, (std::vector<int>{360, 200, 80, 80, 50}));
    EXPECT_EQ(ui().RowCount(ControlId::ChecksumList), 0u);

    auto status = ui().Control(ControlId::StatusLine);
    EXPECT_EQ(status.background, 0xDFFEFFu);
    EXPECT_EQ(status.foreground, 0u);

    const std::pair<ControlId, const char*> images[] = {{ControlId::ExportButton, "arrow.down.document"},
                                                        {ControlId::ExclusionsButton, "folder"},
                                                        {ControlId::AbortButton, "stop.fill"},
                                                        {ControlId::ClearFilesButton, "xmark"}};
    for (const auto& [id, image] : images) {
        auto button = ui().Control(id);
        EXPECT_EQ(button.image, image);
        EXPECT_TRUE(button.imageLeft);
        EXPECT_EQ(button.align, platform::TextAlign::Right);
    }
    EXPECT_EQ(ui().Control(ControlId::ExportButton).bezel, platform::Bezel::Square);
    EXPECT_EQ(ui().Control(ControlId::AbortButton).bezel, platform::Bezel::Rounded);
}

TEST_F(MainWindowTest, TooltipsAreTheFullTexts) {
    BuildWindow();
    EXPECT_TRUE(
        ui().Control(ControlId::AlgorithmHelpIcon).tooltip.starts_with("MD5: Fast. Useful for legacy"));
    EXPECT_TRUE(
        ui().Control(ControlId::AlgorithmHelpIcon)
            .tooltip.ends_with("\n\rNOTE: Switching between any of these will automatically re-process the "
                               "current set of files."));
    EXPECT_TRUE(ui().Control(ControlId::ShortPathsHelpIcon)
                    .tooltip.ends_with("Exports will ignore this setting and include the full file path."));
    EXPECT_EQ(
        ui().Control(ControlId::SearchHelpIcon).tooltip,
        "You can use this field to locate specific directories and files by name. It will start returning "
        "results once at least 3 matching characters have been typed.");
    EXPECT_TRUE(
        ui().Control(ControlId::DockTimeHelpIcon).tooltip.starts_with("Checking this option displays"));
}

TEST_F(MainWindowTest, TheWindowTakesItsTitleTimerAndDrops) {
    services.SetClipboardFromOutside("a");
    services.SetClipboardFromOutside("b");
    BuildWindow();
    auto window = ui().Window(WindowId::Main);
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->title, "Corvane v1.12 Beta \xE2\x80\xA2 Malware Database loaded with 0 hashes");
    EXPECT_EQ(window->contentSize, (platform::Size{800, 500}));
    EXPECT_TRUE(window->acceptsFileDrops);
    EXPECT_EQ(window->activations, 1);
    EXPECT_TRUE(platform::Events().HasTimer(WindowId::Main, ClipboardTimer));
    EXPECT_EQ(PasteboardChangeCount, 2);
}

TEST_F(MainWindowTest, TheSettingsAreShownWithoutTheSha256Rule) {
    SelectedAlgorithm = "SHA256";
    UseShortPaths = 1;
    ShowDockTime = 1;
    BuildMainWindow();
    EXPECT_EQ(ui().SelectedItemText(ControlId::AlgorithmPopup), "SHA256");
    EXPECT_TRUE(ui().IsChecked(ControlId::ShortPathsCheckbox));
    EXPECT_TRUE(ui().IsEnabled(ControlId::ShortPathsCheckbox));
    EXPECT_TRUE(ui().IsChecked(ControlId::DockTimeCheckbox));
}

TEST_F(MainWindowTest, AnUnknownAlgorithmKeepsTheFirstEntry) {
    SelectedAlgorithm = "";
    BuildMainWindow();
    EXPECT_EQ(ui().SelectedItemText(ControlId::AlgorithmPopup), "MD5");
}

TEST_F(MainWindowTest, TheTitleGroupsTheCountByLocale) {
    platform::SetLocaleIdentifierForTesting("en_US");
    EXPECT_EQ(MainWindowTitle(1234567),
              "Corvane v1.12 Beta \xE2\x80\xA2 Malware Database loaded with 1,234,567 hashes");
}

}  // namespace
}  // namespace corvane
