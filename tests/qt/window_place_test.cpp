// Where a window comes back to: the place it had, moved only as far as needed to put its title bar on the
// screen.
#include <gtest/gtest.h>

#include <ostream>

#include "platform/qt/qt_window_place.h"

namespace corvane::platform {
namespace {

struct PlaceCase {
    const char* name;
    QPoint wanted;
    QPoint expected;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.name;
}

// An 802 x 545 frame with a 20-point title bar on a 1280 x 1000 area that starts 24 points down (a panel
// above it).
const QSize kFrame(802, 545);
constexpr int kTitle = 20;
const QRect kAvailable(0, 24, 1280, 1000);

class PlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceTest, KeepsTheWholeTitleBarOnTheScreen) {
    EXPECT_EQ(PlaceWithTitleBarOnScreen(GetParam().wanted, kFrame, kTitle, kAvailable), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceTest,
    ::testing::Values(PlaceCase{"Inside", {300, 200}, {300, 200}},
                      PlaceCase{"TitleBarAboveTheArea", {300, 0}, {300, 24}},
                      PlaceCase{"TitleBarAboveTheScreen", {300, -40}, {300, 24}},
                      PlaceCase{"LeftOfTheScreen", {-100, 200}, {0, 200}},
                      PlaceCase{"RightEdgeBeyondTheScreen", {700, 200}, {478, 200}},
                      // Only the title bar must stay: the rest of the window may hang below the screen.
                      PlaceCase{"LowButTitleBarOnTheScreen", {300, 1000}, {300, 1000}},
                      PlaceCase{"TitleBarBelowTheScreen", {300, 1020}, {300, 1004}},
                      PlaceCase{"OnAnotherScreenToTheRight", {1500, 200}, {478, 200}}),
    [](const ::testing::TestParamInfo<PlaceCase>& paramInfo) { return paramInfo.param.name; });

TEST(WindowPlace, AFrameWiderThanTheScreenStartsAtItsLeftEdge) {
    EXPECT_EQ(PlaceWithTitleBarOnScreen({300, 200}, {1400, 545}, kTitle, kAvailable), QPoint(0, 200));
}

}  // namespace
}  // namespace corvane::platform
