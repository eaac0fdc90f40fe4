#include "app/csv_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/event_loop.h"
#include "platform/locale.h"
#include "program/events.h"
#include "program/ids.h"
#include "support/app_fixture.h"
#include "support/locale_for_testing.h"

namespace corvane {
namespace {

TEST(QuoteCsvField, QuotesEveryFieldAndBlanksLineBreaks) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "\"\""},           {"a,b", "\"a,b\""},  {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"a\r\nb", "\"a  b\""}, {"a\tb", "\"a b\""},
    };
    for (const auto& [cell, field] : cases) EXPECT_EQ(QuoteCsvField(cell), field) << cell;
}

TEST(CleanExportFileName, RemovesAndReplacesTroublesomeCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"  a:b*c?.csv ", "a-bc.csv"},      {"x\t.csv", "x .csv"}, {"my \"list\".csv", "my list.csv"},
        {"a\\b<c>|d\r\n.csv", "a_bcd.csv"}, {"???", ""},           {" \t?x", " x"},
    };
    for (const auto& [name, cleaned] : cases) EXPECT_EQ(CleanExportFileName(name), cleaned) << name;
}

struct DateCase {
    const char* locale;
    int hour, minute;  // UTC
    const char* text;
    const char* zone = "UTC";
};

class ExportDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(ExportDate, FollowsTheLocalesOrderCalendarAndDigits) {
    setenv("TZ", GetParam().zone, 1);
    tzset();
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = GetParam().hour;
    when.tm_min = GetParam().minute;
    when.tm_sec = 9;
    EXPECT_EQ(ExportDateText(timegm(&when), GetParam().locale), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportDate,
    ::testing::Values(
        DateCase{"en_US", 14, 30, "12-08-2026-23009"}, DateCase{"en_CA", 0, 5, "12-08-2026-120509"},
        DateCase{"en_US", 12, 5, "12-08-2026-120509"}, DateCase{"de_DE", 14, 30, "08-12-202623009"},
        DateCase{"en_GB", 9, 0, "08-12-202690009"}, DateCase{"en_US_POSIX", 9, 0, "08-12-202690009"},
        // The locale's calendar and digits, in the same pattern.
        DateCase{"th_TH", 9, 0, "08-12-256990009"},
        DateCase{"ar_EG", 9, 0,
                 "\u0660\u0668-\u0661\u0662-\u0662\u0660\u0662\u0666"
                 "\u0669\u0660\u0660\u0660\u0669"},
        DateCase{"fa_IR", 9, 0,
                 "\u06F1\u06F7-\u06F0\u06F9-\u06F1\u06F4\u06F0\u06F5"
                 "\u06F9\u06F0\u06F0\u06F0\u06F9"},
        // The local time zone, half hours included.
        DateCase{"de_DE", 14, 30, "08-12-202633009", "CET-1CEST,M3.5.0,M10.5.0/3"},
        DateCase{"en_US", 14, 30, "12-08-2026-80009", "<+0530>-5:30"},
        DateCase{"en_US", 2, 0, "12-07-2026-90009", "EST5EDT,M3.2.0,M11.1.0"}));

class ExportTest : public testing::AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        platform::SetLocaleIdentifierForTesting("en_US");
        BuildWindow();
        folder = home.Path() + "/exports/";
        std::filesystem::create_directories(folder);
    }
    void AddRow(std::array<std::string, 5> cells) { ui().AppendRow(kChecksumList, {cells, false, cells[0]}); }
    void ExportTo(const std::string& chosen) {
        services.savePanelAnswers.push_back(chosen);
        DispatchEvent(ControlEvent(kExportButton, platform::kLeftClick));
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string folder;
};

TEST_F(ExportTest, WritesHeaderAndRowsWithStatusWords) {
    ui().SelectItem(kAlgorithmPopup, 3);
    AddRow({"/a/x,y.txt", "abc", "1 KB", "12/08/26", "\xE2\x9C\x85"});
    AddRow({"/a/bad.exe", "def", "2 KB", "12/08/26", "\xE2\x9D\x97\xEF\xB8\x8F"});
    AddRow({"/a/gone", "Error: Cannot open file", "Zero KB", "Unknown", "  \xE2\x9D\x8C"});
    AddRow({"/a/odd", "0", "1 byte", "12/08/26", "x\xE2\x9A\xA0\xEF\xB8\x8Fy"});
    ExportTo(folder + "out.csv");
    EXPECT_EQ(Read(folder + "out.csv"),
              "\xEF\xBB\xBF"
              "File Name,Checksum (SHA256),File Size,File Date,Status\r\n"
              "\"/a/x,y.txt\",\"abc\",\"1 KB\",\"12/08/26\",\"OK\"\r\n"
              "\"/a/bad.exe\",\"def\",\"2 KB\",\"12/08/26\",\"THREAT\"\r\n"
              "\"/a/gone\",\"Error: Cannot open file\",\"Zero KB\",\"Unknown\",\"  \xE2\x9D\x8C\"\r\n"
              "\"/a/odd\",\"0\",\"1 byte\",\"12/08/26\",\"xSUSPICIOUSy\"\r\n");
    EXPECT_EQ(services.sounds, std::vector<int>{platform::kCompletionSound});
    EXPECT_TRUE(services.alerts.empty());
    ASSERT_EQ(services.savePanels.size(), 1u);
    EXPECT_EQ(services.savePanels[0].title, "Save Export File");
    EXPECT_TRUE(services.savePanels[0].defaultName.ends_with("_Corvane_Export.csv"));
}

TEST_F(ExportTest, AnEmptyListGivesTheHeaderAlone) {
    ExportTo(folder + " my:list?.csv");
    EXPECT_EQ(Read(folder + "my-list.csv"),
              "\xEF\xBB\xBF"
              "File Name,Checksum (MD5),File Size,File Date,Status\r\n");
}

TEST_F(ExportTest, ACancelledPanelShowsTheAlertAndWritesNothing) {
    int before = ui().Window(kMainWindow)->activations;
    ExportTo("");
    ASSERT_EQ(services.alerts.size(), 1u);
    EXPECT_EQ(services.alerts[0].message, "The selected directory path is invalid or inaccessible.\n");
    EXPECT_TRUE(services.sounds.empty());
    EXPECT_EQ(ui().Window(kMainWindow)->activations, before + 1);
}

TEST_F(ExportTest, AMissingFolderShowsTheAlert) {
    ExportTo(home.Path() + "/nowhere/out.csv");
    ASSERT_EQ(services.alerts.size(), 1u);
    EXPECT_EQ(services.alerts[0].message, "Could not create the export file!\n");
    EXPECT_TRUE(services.sounds.empty());
}

TEST_F(ExportTest, AFileThatCannotBeCreatedIsReportedNotCelebrated) {
    ExportTo(folder + "???");
    ASSERT_EQ(services.alerts.size(), 1u);
    EXPECT_EQ(services.alerts[0].message, "Could not create the export file!\n");
    EXPECT_TRUE(services.sounds.empty());
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(ExportTest, AnExistingFileIsReplacedWhole) {
    std::ofstream(folder + "out.csv") << std::string(10000, 'x');
    ExportTo(folder + "out.csv");
    EXPECT_EQ(Read(folder + "out.csv"),
              "\xEF\xBB\xBF"
              "File Name,Checksum (MD5),File Size,File Date,Status\r\n");
}

}  // namespace
}  // namespace corvane
