#include "app/layout.h"

#include <gtest/gtest.h>

#include "program/ids.h"
#include "support/app_fixture.h"

namespace corvane {
namespace {

using platform::Rect;
using platform::Size;

TEST(ComputeMainLayout, WorkedValuesAtTheMinimumSize) {
    MainLayout layout = ComputeMainLayout({800, 500});
    EXPECT_EQ(layout.statusLine, (Rect{10, 90, 780, 25}));
    EXPECT_EQ(layout.checksumList, (Rect{10, 130, 780, 260}));
    EXPECT_EQ(layout.progressBar, (Rect{10, 400, 780, 20}));
    EXPECT_EQ(layout.etaLine, (Rect{10, 425, 780, 25}));
    EXPECT_EQ(layout.abortButton, (Rect{520, 465, 100, 25}));
    EXPECT_EQ(layout.clearFilesButton, (Rect{680, 465, 100, 25}));
    EXPECT_EQ(layout.exportButton, (Rect{560, 50, 100, 25}));
    EXPECT_EQ(layout.exclusionsButton, (Rect{440, 50, 100, 25}));
    EXPECT_EQ(layout.columnWidths, (std::array<int, 5>{351, 195, 117, 78, 39}));
}

struct ColumnCase {
    int listWidth;  // W - 20
    std::array<int, 5> widths;
};

class ColumnWidths : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnWidths, RoundHalvesToEven) {
    EXPECT_EQ(ComputeMainLayout({GetParam().listWidth + 20, 500}).columnWidths, GetParam().widths);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColumnWidths,
                         ::testing::Values(
                             // 195.5 rounds to 196.
                             ColumnCase{782, {352, 196, 117, 78, 39}},
                             // 196.5 rounds to 196; 353.7 to 354.
                             ColumnCase{786, {354, 196, 118, 79, 39}},
                             // 118.5 would give 118; the factor just above 0.15 makes it 119.
                             ColumnCase{790, {356, 198, 119, 79, 40}}));

class LayoutTest : public testing::AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        BuildWindow();
    }
};

TEST_F(LayoutTest, OnlyTheShortSideIsCorrected) {
    struct {
        Size before, after;
    } cases[] = {{{700, 450}, {800, 500}},
                 {{900, 450}, {900, 500}},
                 {{700, 600}, {800, 600}},
                 {{1000, 700}, {1000, 700}}};
    for (const auto& c : cases) {
        ui().SetContentSize(kMainWindow, c.before);
        LayoutMainWindow();
        EXPECT_EQ(ui().ContentSize(kMainWindow), c.after);
        EXPECT_EQ(ui().Frame(kChecksumList), (Rect{10, 130, c.after.width - 20, c.after.height - 240}));
    }
}

TEST_F(LayoutTest, TheSearchFieldAndItsIconStayWhileTheButtonsFollowTheWidth) {
    ui().SetContentSize(kMainWindow, {1000, 600});
    LayoutMainWindow();
    EXPECT_EQ(ui().Frame(kSearchField), (Rect{560, 5, 190, 24}));
    EXPECT_EQ(ui().Frame(kSearchHelpIcon), (Rect{760, 10, 24, 24}));
    EXPECT_EQ(ui().Frame(kExportButton), (Rect{760, 50, 100, 25}));
    EXPECT_EQ(ui().Frame(kExclusionsButton), (Rect{640, 50, 100, 25}));
    EXPECT_EQ(std::get<platform::TableState>(ui().Control(kChecksumList).fields).columnWidths,
              (std::vector<int>{441, 245, 147, 98, 49}));
}

}  // namespace
}  // namespace corvane
