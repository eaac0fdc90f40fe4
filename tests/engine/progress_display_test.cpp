#include "engine/progress_display.h"

#include <gtest/gtest.h>

#include "engine/progress_notice.h"
#include "engine_fixture.h"
#include "program/events.h"
#include "program/settings.h"

namespace corvane {
namespace {

using platform::ControlId;
using platform::TheUi;
using testing::EngineTest;

class ProgressDisplayTest : public EngineTest {
  protected:
    // Posts the notice as the worker of the current run would and lets the event loop handle it.
    void Notice(ControlId control, int64_t data, int type = kWorkerProgress) {
        platform::Event event = ControlEvent(control, type, data);
        event.serial = CurrentRunNumber;
        platform::Events().Post(event);
        DrainQueue();
    }
    void Eta(int64_t total, int64_t remaining, int64_t seconds) {
        TotalFiles = total;
        Notice(kEtaLine, PackEtaNotice(remaining, seconds));
    }
};

TEST_F(ProgressDisplayTest, CountsLine) {
    struct Case {
        int64_t total, remaining, seconds;
        const char* line;
    };
    const Case cases[] = {
        {1, 0, 0, "1 total files, 0 remaining, (100%), 0:00 estimated remaining"},
        {3, 2, 14, "3 total files, 2 remaining, (33%), 0:14 estimated remaining"},
        {3, 1, 7, "3 total files, 1 remaining, (67%), 0:07 estimated remaining"},
        {8, 1, 2, "8 total files, 1 remaining, (88%), 0:02 estimated remaining"},
        {5, 4, 3600, "5 total files, 4 remaining, (20%), 1:00:00 estimated remaining"},
        {2, 1, 65535, "2 total files, 1 remaining, (50%), 18:12:15 estimated remaining"},
        // A notice left over from before a reset divides by 1, never by 0.
        {0, 1, 5, "0 total files, 1 remaining, (-100%), 0:05 estimated remaining"},
        {0, 0, 0, "0 total files, 0 remaining, (0%), 0:00 estimated remaining"},
    };
    for (const Case& c : cases) {
        Eta(c.total, c.remaining, c.seconds);
        EXPECT_EQ(TheUi().Text(kEtaLine), c.line);
        EXPECT_EQ(FilesRemaining, c.remaining);
        EXPECT_EQ(EtaSeconds, c.seconds);
    }
}

TEST(CountsPercentTest, HalvesGoAwayFromZero) {
    EXPECT_EQ(CountsPercent(8, 1), 88);      // 87.5
    EXPECT_EQ(CountsPercent(3, 1), 67);      // 66.67
    EXPECT_EQ(CountsPercent(200, 199), 1);   // 0.5
    EXPECT_EQ(CountsPercent(200, 201), -1);  // -0.5
    EXPECT_EQ(CountsPercent(1, 0), 100);
    EXPECT_EQ(CountsPercent(0, 0), 0);
}

TEST_F(ProgressDisplayTest, BadgeInBothModes) {
    struct Case {
        uint8_t showTime;
        int64_t seconds;
        const char* badge;
        const char* remembered;
    };
    const Case cases[] = {
        {0, 12, "45%", "45%"}, {1, 12, "0:12", "0:12"},         {0, 0, "", "45%"},
        {1, 0, "", "0:00"},    {1, 3723, "1:02:03", "1:02:03"},
    };
    for (const Case& c : cases) {
        ShowDockTime = c.showTime;
        Eta(100, 55, c.seconds);
        EXPECT_EQ(TheUi().BadgeLabel(), c.badge) << int(c.showTime) << " " << c.seconds;
        EXPECT_EQ(DockBadgeText, c.remembered);
    }
}

TEST_F(ProgressDisplayTest, ProgressBarAndStatusLine) {
    Notice(kRunProgressBar, 66);
    EXPECT_EQ(TheUi().Value(kRunProgressBar), 66);
    {
        std::lock_guard lock(UiMutex);
        StatusText = "Processing: a.txt - ETA: 0:03";
    }
    Notice(kStatusLine, 0);
    EXPECT_EQ(TheUi().Text(kStatusLine), "Processing: a.txt - ETA: 0:03");
}

TEST_F(ProgressDisplayTest, OtherTypesAreIgnored) {
    TotalFiles = 3;
    StatusText = "new";
    for (int type : {platform::kLeftClick, platform::kRightClick, platform::kSelectionChange}) {
        Notice(kEtaLine, PackEtaNotice(1, 5), type);
        Notice(kRunProgressBar, 50, type);
        Notice(kStatusLine, 0, type);
    }
    EXPECT_EQ(TheUi().Text(kEtaLine), "");
    EXPECT_EQ(TheUi().Value(kRunProgressBar), 0);
    EXPECT_NE(TheUi().Text(kStatusLine), "new");
    EXPECT_EQ(TheUi().BadgeLabel(), "");
}

TEST_F(ProgressDisplayTest, NoticesOfAnotherRunAreDropped) {
    TotalFiles = 3;
    HandleWorkerProgress(kEtaLine, PackEtaNotice(1, 5), CurrentRunNumber + 1);
    HandleWorkerProgress(kRunProgressBar, 50, CurrentRunNumber + 1);
    EXPECT_EQ(TheUi().Text(kEtaLine), "");
    EXPECT_EQ(TheUi().Value(kRunProgressBar), 0);
    EXPECT_EQ(TheUi().BadgeLabel(), "");
}

}  // namespace
}  // namespace corvane
