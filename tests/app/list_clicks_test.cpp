#include "app/list_clicks.h"

#include <gtest/gtest.h>

#include "app/event_loop.h"
#include "program/clipboard_state.h"
#include "program/events.h"
#include "program/ids.h"
#include "support/app_fixture.h"

namespace corvane {
namespace {

class ListClicksTest : public testing::AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        BuildWindow();
        ui().AppendRow(kChecksumList, {{"/home/u/a.txt", "900150983cd24fb0d6963f7d28e17f72", "3 bytes",
                                        "12/08/26", "\xE2\x9C\x85"},
                                       false,
                                       "/home/u/a.txt"});
        ui().AppendRow(kChecksumList, {{"/home/u/gone", "Error: File not found or invalid", "-1 bytes",
                                        "Unknown", "  \xE2\x9D\x8C"},
                                       false,
                                       "/home/u/gone"});
    }
    void Click(int row, int type) {
        if (row >= 0) ui().UserSelectRow(kChecksumList, row);
        DispatchEvent(ControlEvent(kChecksumList, type));
    }
};

TEST_F(ListClicksTest, ALeftClickCopiesTheChecksumColumnAsShown) {
    Click(1, platform::kLeftClick);
    EXPECT_EQ(services.ClipboardText(), "Error: File not found or invalid");
    EXPECT_EQ(PasteboardChangeCount, services.ClipboardChangeCount());
    EXPECT_TRUE(SkipNextPaste);
}

TEST_F(ListClicksTest, ALeftClickWithoutASelectionDoesNothing) {
    Click(-1, platform::kLeftClick);
    EXPECT_EQ(services.ClipboardChangeCount(), 0);
    EXPECT_FALSE(SkipNextPaste);
}

TEST_F(ListClicksTest, ARightClickRevealsTheFileOnlyWithFullPaths) {
    Click(0, platform::kRightClick);
    EXPECT_EQ(services.revealedFiles, std::vector<std::string>{"/home/u/a.txt"});
    UseShortPaths = 1;
    Click(1, platform::kRightClick);
    EXPECT_EQ(services.revealedFiles.size(), 1u);
}

TEST_F(ListClicksTest, ARightClickBelowTheLastRowRevealsTheRowAlreadySelected) {
    Click(1, platform::kLeftClick);
    Click(-1, platform::kRightClick);  // off the rows the selection stays
    EXPECT_EQ(services.revealedFiles, std::vector<std::string>{"/home/u/gone"});
}

TEST_F(ListClicksTest, OtherClickTypesAreIgnored) {
    Click(0, 2);
    EXPECT_EQ(services.ClipboardChangeCount(), 0);
    EXPECT_TRUE(services.revealedFiles.empty());
}

}  // namespace
}  // namespace corvane
