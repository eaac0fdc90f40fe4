// How the program's line breaks reach Qt's texts.
#include <QMessageBox>
#include <QTimer>

#include "platform/qt/qt_text.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

TEST(DisplayText, EveryCarriageReturnButThatOfAPairBreaksTheLine) {
    struct Case {
        const char* text;
        const char* shown;
    };
    // A line feed then a carriage return leaves an empty line between.
    const Case cases[] = {
        {"a\nb", "a\nb"},       {"a\n\rb", "a\n\nb"},     {"a\r\nb", "a\nb"},     {"a\rb", "a\nb"},
        {"a\n\r\nb", "a\n\nb"}, {"a\n\r\rb", "a\n\n\nb"}, {"end\n\r", "end\n\n"}, {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(DisplayText(c.text), QString(c.shown)) << c.text;
}

TEST_F(QtBackendTest, AlertTextsKeepTheirEmptyLines) {
    AlertSpec alert;
    alert.message = "wide to run this program.\n\rThe program will now quit.\n";
    alert.informative = "corvane@veltrane.example\n\r\"Trust, but verify.\"\n";
    ShownAlert shown = RunAndReadAlert(alert);
    EXPECT_EQ(shown.text, "wide to run this program.\n\nThe program will now quit.\n");
    EXPECT_EQ(shown.informative, "corvane@veltrane.example\n\n\"Trust, but verify.\"\n");
}

}  // namespace
}  // namespace corvane::platform
