#include <gtest/gtest.h>

#include "app/startup.h"
#include "support/app_fixture.h"

namespace corvane {
namespace {

using platform::Point;
using platform::Rect;

struct DisplayCase {
    const char* name;
    std::vector<Rect> displays;
    Point pointer;
    int width;
};

class ChosenDisplay : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(ChosenDisplay, IsTheOneUnderThePointer) {
    EXPECT_EQ(ChosenDisplayWidth(GetParam().displays, GetParam().pointer), GetParam().width);
}

const Rect kNarrow{0, 0, 800, 600};
const Rect kWideRight{800, 0, 1440, 900};

INSTANTIATE_TEST_SUITE_P(
    Cases, ChosenDisplay,
    ::testing::Values(DisplayCase{"ExactlyWideEnough", {{0, 0, 1024, 768}}, {5, 5}, 1024},
                      DisplayCase{"OnTheNarrowOne", {kNarrow, kWideRight}, {100, 100}, 800},
                      DisplayCase{"OnTheWideOne", {kNarrow, kWideRight}, {1000, 100}, 1440},
                      DisplayCase{"SharedEdgePicksTheLaterDisplay", {kNarrow, kWideRight}, {800, 100}, 1440},
                      DisplayCase{"BottomRightCornerIsInside", {{0, 0, 1024, 768}}, {1024, 768}, 1024},
                      DisplayCase{"OnNoDisplayTheFirstDecides", {kNarrow, kWideRight}, {5000, 5000}, 800},
                      DisplayCase{"NoDisplayAtAll", {}, {0, 0}, 0}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

class DisplayCheckTest : public testing::AppTest {};

TEST_F(DisplayCheckTest, ANarrowDisplayIsRefusedWithTheAlert) {
    services.displays = {{0, 0, 1023, 768}};
    services.onAlert = [](const platform::AlertSpec& alert) { throw alert; };
    try {
        CheckDisplayWidth();
        FAIL() << "the display was accepted";
    } catch (const platform::AlertSpec& alert) {
        EXPECT_EQ(alert.style, platform::AlertStyle::Error);
        EXPECT_EQ(alert.title, "Error!");
        EXPECT_EQ(alert.message,
                  "Sorry, the minimum screen resolution must be greater than 1024 pixels wide to run this "
                  "program.\n\rThe program will now quit.\n");
        EXPECT_EQ(alert.buttons, std::vector<std::string>{"OK"});
    }
}

TEST_F(DisplayCheckTest, ARefusedDisplayEndsTheProgramWithStatusZero) {
    services.displays = {{0, 0, 1023, 768}};
    EXPECT_EXIT(CheckDisplayWidth(), ::testing::ExitedWithCode(0), "");
}

TEST_F(DisplayCheckTest, NoDisplayAtAllIsRefused) {
    services.displays = {};
    EXPECT_EXIT(CheckDisplayWidth(), ::testing::ExitedWithCode(0), "");
}

TEST_F(DisplayCheckTest, AWideEnoughDisplayLetsStartUpGoOn) {
    services.displays = {{0, 0, 1024, 768}};
    CheckDisplayWidth();
    EXPECT_TRUE(services.alerts.empty());
}

}  // namespace
}  // namespace corvane
