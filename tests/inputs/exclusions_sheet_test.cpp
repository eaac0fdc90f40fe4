#include "inputs/exclusions_sheet.h"

#include <gtest/gtest.h>

#include "app/event_loop.h"
#include "inputs/excluded_file.h"
#include "inputs/exclusions.h"
#include "inputs_fixture.h"
#include "program/events.h"
#include "scripted_user.h"

namespace corvane {
namespace {

using platform::ControlId;
using platform::ControlKind;

constexpr const char* kConfig = "Library/Preferences/Corvane_ExclusionsConfig.txt";
constexpr const char* kTooLongText = "You have exceeded the allowed length for excluded directories.\n\r";

class ExclusionsSheetTest : public testing::InputsTest {
  protected:
    void SetUp() override {
        InputsTest::SetUp();
        BuildWindow();
    }
    std::string Editor() { return ui().Text(kExclusionsEditor); }
    std::string ConfigFile() { return ReadFile(Path(kConfig)); }

    testing::ScriptedUser user;
};

TEST_F(ExclusionsSheetTest, OpensOverTheMainWindowWithItsControls) {
    ExcludedDirs = "/a|/b";
    user.Then([this] {
        auto sheet = ui().Window(kExclusionsSheet);
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->spec.kind, platform::WindowKind::Sheet);
        EXPECT_EQ(sheet->spec.parent, kMainWindow);
        EXPECT_EQ(sheet->contentSize, (platform::Size{460, 200}));
        EXPECT_EQ(sheet->title, "");
        EXPECT_GE(sheet->activations, 1);
        struct Expected {
            ControlId id;
            ControlKind kind;
            platform::Rect frame;
            const char* text;
        };
        const Expected controls[] = {
            {kExclusionsLabel,
             ControlKind::Label,
             {20, 10, 440, 20},
             "Add / edit directories to exclude (use | to separate each):"},
            {kExclusionsEditor, ControlKind::TextEditor, {20, 30, 420, 110}, "/a|/b"},
            {kExclusionsCancel, ControlKind::Button, {240, 160, 90, 25}, "Cancel"},
            {kExclusionsSave, ControlKind::Button, {350, 160, 80, 25}, "Save"},
            {kExclusionsDefaults, ControlKind::Button, {20, 160, 90, 25}, "Defaults"},
        };
        for (const Expected& c : controls) {
            platform::ControlState state = ui().Control(c.id);
            EXPECT_EQ(state.window, kExclusionsSheet);
            EXPECT_EQ(state.kind, c.kind);
            EXPECT_EQ(state.frame, c.frame);
            EXPECT_EQ(state.Text(), c.text);
        }
        EXPECT_EQ(std::get<platform::LabelState>(ui().Control(kExclusionsLabel).fields).align,
                  platform::TextAlign::Center);
        EXPECT_TRUE(std::get<platform::ButtonState>(ui().Control(kExclusionsSave).fields).isDefault);
        EXPECT_FALSE(ui().IsEnabled(kExclusionsButton));
    });
    user.Click(kExclusionsCancel);
    int mainActivations = ui().Window(kMainWindow)->activations;

    EditExclusions();

    EXPECT_TRUE(user.Done());
    EXPECT_FALSE(ui().WindowExists(kExclusionsSheet));
    EXPECT_FALSE(ui().ControlExists(kExclusionsEditor));
    EXPECT_TRUE(ui().IsEnabled(kExclusionsButton));
    EXPECT_EQ(ui().Window(kMainWindow)->activations, mainActivations + 1);
}

TEST_F(ExclusionsSheetTest, SaveWritesTheFileAndPutsTheListInForce) {
    user.Type("/Applications|/Users/u/Temp");
    user.Click(kExclusionsSave);
    EditExclusions();
    EXPECT_EQ(ConfigFile(), "ExcludedDirectories=/Applications|/Users/u/Temp\n");
    EXPECT_EQ(ExcludedDirs, "/Applications|/Users/u/Temp");
    EXPECT_TRUE(IsExcludedFile("/users/u/temp/a.txt"));
    EXPECT_FALSE(IsExcludedFile("/Library/a.txt"));
}

TEST_F(ExclusionsSheetTest, SaveWithAnEmptyEditorExcludesNoDirectory) {
    user.Type("");
    user.Click(kExclusionsSave);
    EditExclusions();
    EXPECT_EQ(ConfigFile(), "ExcludedDirectories=\n");
    EXPECT_EQ(ExcludedDirs, "");
    EXPECT_FALSE(IsExcludedFile("/Library/a.txt"));
}

TEST_F(ExclusionsSheetTest, AfterSaveOnlyTheTrimmedFirstLineIsInForce) {
    user.Type("/a|/b  \n/c");
    user.Click(kExclusionsSave);
    EditExclusions();
    EXPECT_EQ(ConfigFile(), "ExcludedDirectories=/a|/b  \n/c\n");
    EXPECT_EQ(ExcludedDirs, "/a|/b");
}

TEST_F(ExclusionsSheetTest, DefaultsThenCancelChangesNothing) {
    MakeFile(kConfig, "ExcludedDirectories=/mine\n");
    ExcludedDirs = "/mine";
    user.Click(kExclusionsDefaults);
    user.Then([this] { EXPECT_EQ(Editor(), kDefaultExcludedDirs); });
    user.Click(kExclusionsCancel);
    EditExclusions();
    EXPECT_EQ(ConfigFile(), "ExcludedDirectories=/mine\n");
    EXPECT_EQ(ExcludedDirs, "/mine");
}

TEST_F(ExclusionsSheetTest, DefaultsThenSaveWritesTheStartUpList) {
    ExcludedDirs = "/mine";
    user.Click(kExclusionsDefaults);
    user.Click(kExclusionsSave);
    EditExclusions();
    EXPECT_EQ(ConfigFile(), std::string("ExcludedDirectories=") + kDefaultExcludedDirs + "\n");
    EXPECT_EQ(ExcludedDirs, kDefaultExcludedDirs);
}

TEST_F(ExclusionsSheetTest, CancelWithoutAFileKeepsTheListInForce) {
    ExcludedDirs = "/in-memory";
    user.Type("/typed");
    user.Click(kExclusionsCancel);
    EditExclusions();
    EXPECT_EQ(ExcludedDirs, "/in-memory");
    EXPECT_FALSE(std::filesystem::exists(Path(kConfig)));
}

TEST_F(ExclusionsSheetTest, CancelPutsTheFilesListBackInForce) {
    MakeFile(kConfig, "ExcludedDirectories=/from-file\n");
    ExcludedDirs = "/changed-since";
    user.Click(kExclusionsCancel);
    EditExclusions();
    EXPECT_EQ(ExcludedDirs, "/from-file");
}

TEST_F(ExclusionsSheetTest, SaveThatCannotWriteIsSilentAndKeepsTheSavedText) {
    MakeFile("Library", "a file where the folder should be");
    user.Type("/saved");
    user.Click(kExclusionsSave);
    EditExclusions();
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_EQ(ExcludedDirs, "/saved");
}

TEST_F(ExclusionsSheetTest, TheCharacterPastTheLimitIsRefusedWithAnAlert) {
    const std::string limit(kMaxExclusionsLength, 'a');
    user.Type(limit);
    user.Then([this] { EXPECT_TRUE(services.alerts.empty()); });
    user.Type(limit + "b");
    user.Then([this, limit] {
        ASSERT_EQ(services.alerts.size(), 1u);
        EXPECT_EQ(services.alerts[0].title, "Error!");
        EXPECT_EQ(services.alerts[0].style, platform::AlertStyle::Error);
        EXPECT_EQ(services.alerts[0].message, kTooLongText);
        EXPECT_EQ(Editor(), limit);
    });
    user.Click(kExclusionsSave);
    EditExclusions();
    EXPECT_EQ(ExcludedDirs, limit);
}

TEST_F(ExclusionsSheetTest, LimitCountsUtf16UnitsAndNeverSplitsACharacter) {
    const std::string emoji = "\xF0\x9F\x93\x81";  // two UTF-16 units
    const std::string start(kMaxExclusionsLength - 1, 'a');
    user.Type(std::string(kMaxExclusionsLength - 2, 'a') + emoji);  // exactly 1048 units
    user.Then([this] { EXPECT_TRUE(services.alerts.empty()); });
    user.Type(start + emoji);  // 1049 units
    user.Then([this, start] {
        EXPECT_EQ(services.alerts.size(), 1u);
        EXPECT_EQ(Editor(), start);
    });
    user.Click(kExclusionsCancel);
    EditExclusions();
}

TEST_F(ExclusionsSheetTest, LongerPasteIsCutToTheLimit) {
    user.Type(std::string(2000, 'p'));
    user.Then([this] {
        EXPECT_EQ(services.alerts.size(), 1u);
        EXPECT_EQ(Editor(), std::string(kMaxExclusionsLength, 'p'));
    });
    user.Click(kExclusionsCancel);
    EditExclusions();
}

TEST_F(ExclusionsSheetTest, ExclusionsButtonOpensTheSheetFromTheEventLoop) {
    bool opened = false;
    user.Then([&] { opened = ui().WindowExists(kExclusionsSheet); });
    user.Click(kExclusionsCancel);
    DispatchEvent(ControlEvent(kExclusionsButton, platform::kLeftClick));
    EXPECT_TRUE(opened);
    EXPECT_TRUE(user.Done());
}

TEST_F(ExclusionsSheetTest, EventsWhileOpenAreDropped) {
    auto& events = platform::Events();
    platform::Event drop{platform::kDropEvent, kMainWindow, 0, 0, 1, Path("file.txt")};
    MakeFile("file.txt");
    events.Post(drop);
    events.Post(MenuEvent(kPasteItem));
    events.Post(MenuEvent(kAppAboutItem));
    events.Post(platform::Event{platform::kCloseRequestEvent, kMainWindow, 0, 0, 0, {}});
    events.Post(platform::Event{platform::kCloseRequestEvent, kExclusionsSheet, 0, 0, 0, {}});
    events.Post(platform::Event{platform::kTimerEvent, kMainWindow, 2001, 0, 0, {}});
    events.Post(ControlEvent(kExclusionsButton, platform::kLeftClick));
    events.Post(ControlEvent(kClearFilesButton, platform::kLeftClick));
    user.Click(kExclusionsCancel);
    EditExclusions();
    EXPECT_TRUE(user.Done());
    EXPECT_EQ(events.PendingCount(), 0u);
    EXPECT_TRUE(services.alerts.empty());
    EXPECT_EQ(ui().RowCount(kChecksumList), 0u);
    EXPECT_TRUE(ui().IsEnabled(kExclusionsButton));
    EXPECT_FALSE(ui().WindowExists(kExclusionsSheet));
}

// Ctrl+Q or a termination signal must not be lost while the sheet is open: the sheet closes as Cancel
// would (the editor's text is not saved) and the main loop gets the request to end the program.
TEST_F(ExclusionsSheetTest, AQuitClosesTheSheetUnsavedAndReachesTheMainLoop) {
    ExcludedDirs = "/kept";
    user.Type("/typed");
    user.Then([] { platform::Events().Post(MenuEvent(kQuitItem)); });
    EditExclusions();
    EXPECT_TRUE(user.Done());
    EXPECT_FALSE(ui().WindowExists(kExclusionsSheet));
    EXPECT_EQ(ExcludedDirs, "/kept");
    EXPECT_FALSE(std::filesystem::exists(Path(kConfig)));
    std::vector<platform::Event> left = platform::Events().PendingEvents();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(IsQuitRequest(left[0]));
}

}  // namespace
}  // namespace corvane
