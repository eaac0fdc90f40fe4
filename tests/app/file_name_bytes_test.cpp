// A file whose name is not UTF-8, from the paste to the export: hashed and revealed under its own bytes,
// listed and exported as text.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/event_loop.h"
#include "inputs/inputs_fixture.h"
#include "platform/locale.h"
#include "program/events.h"
#include "support/locale_for_testing.h"

namespace corvane {
namespace {

struct NameCase {
    const char* label;
    std::string bytes;  // the name on disk
    std::string shown;  // the name in the list and in the export
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.label;
}

class FileNameBytesTest : public testing::InputsTest, public ::testing::WithParamInterface<NameCase> {
  protected:
    void SetUp() override {
        InputsTest::SetUp();
        platform::SetLocaleIdentifierForTesting("en_US");
        BuildWindow();
    }
};

TEST_P(FileNameBytesTest, IsHashedAndRevealedByItsBytesAndShownAndExportedAsText) {
    const NameCase& c = GetParam();
    std::string file = MakeFile("names/" + c.bytes, "abc");
    services.SetClipboardFromOutside(file);
    DispatchEvent(MenuEvent(kPasteItem));
    PumpUntilRunEnds();

    auto rows = ui().Rows(kChecksumList);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells[0], Path("names/" + c.shown));
    EXPECT_EQ(rows[0].cells[1], "900150983cd24fb0d6963f7d28e17f72");

    ui().UserSelectRow(kChecksumList, 0);
    DispatchEvent(ControlEvent(kChecksumList, platform::kRightClick));
    EXPECT_EQ(services.revealedFiles, std::vector<std::string>{file});

    services.savePanelAnswers.push_back(Path("out.csv"));
    DispatchEvent(ControlEvent(kExportButton, platform::kLeftClick));
    std::string csv = ReadFile(Path("out.csv"));
    EXPECT_NE(csv.find("\"" + Path("names/" + c.shown) + "\",\"900150983cd24fb0d6963f7d28e17f72\""),
              std::string::npos)
        << csv;
    if (c.bytes != c.shown) {
        EXPECT_EQ(csv.find(c.bytes), std::string::npos) << "the raw name was written";
    }
}

const std::string kReplacement = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(Names, FileNameBytesTest,
                         ::testing::Values(NameCase{"Latin1", "caf\xE9.txt", "caf" + kReplacement + ".txt"},
                                           NameCase{"TwoBadBytes", "inv\xFF\xFE.txt",
                                                    "inv" + kReplacement + kReplacement + ".txt"},
                                           NameCase{"OverlongSlash", "x\xC0\xAFy.txt",
                                                    "x" + kReplacement + kReplacement + "y.txt"},
                                           NameCase{"Utf8", "caf\xC3\xA9.txt", "caf\xC3\xA9.txt"}),
                         [](const ::testing::TestParamInfo<NameCase>& paramInfo) {
                             return paramInfo.param.label;
                         });

}  // namespace
}  // namespace corvane
