// The main window's shortcuts come before the focused control; the synthetic paste stays in this program.
#include <QClipboard>
#include <QLineEdit>

#include "platform/desktop.h"
#include "program/events.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

class ShortcutTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        TheUi().SetEnabled(kSearchField, true);
        QGuiApplication::clipboard()->setText("/tmp/pasted");
        ASSERT_TRUE(ActivateMain());
        Search()->setFocus();
        Settle();
        Events().Clear();
    }
    static QLineEdit* Search() { return qobject_cast<QLineEdit*>(WidgetFor(kSearchField)); }
};

TEST_F(ShortcutTest, CtrlVInTheSearchFieldIsThePasteItemAndPastesNothingThere) {
    QTest::keyClick(Search(), Qt::Key_V, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Search()->text(), "");
    EXPECT_EQ(TheUi().Text(kSearchField), "");
    EXPECT_EQ(CountEvents(kMenuEvent, kPasteItem), 1);
    EXPECT_TRUE(ControlEventsOf(kSearchField).empty());
}

TEST_F(ShortcutTest, CtrlRIsTheResetLayoutItem) {
    QTest::keyClick(Search(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(CountEvents(kMenuEvent, kResetLayoutItem), 1);
    EXPECT_EQ(Search()->text(), "");
}

TEST_F(ShortcutTest, PlainTypingStillReachesTheSearchField) {
    QTest::keyClicks(Search(), "abc");
    EXPECT_EQ(Search()->text(), "abc");
    EXPECT_EQ(TheUi().Text(kSearchField), "abc");
    EXPECT_EQ(CountEvents(kMenuEvent, kPasteItem), 0);
    // One waiting text change covers the three keystrokes.
    std::vector<Event> events = ControlEventsOf(kSearchField);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events.back().type, kTextChange);
}

TEST_F(ShortcutTest, CtrlQIsTheQuitItem) {
    QTest::keyClick(Search(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(CountEvents(kMenuEvent, kQuitItem), 1);
}

TEST_F(ShortcutTest, SyntheticPastePostsOnlyWhileTheMainWindowIsActive) {
    Desktop().PostKeyPress(kKeyCodeV, kCommandFlag);
    Desktop().PostKeyPress(kKeyCodeCommand, 0);
    EXPECT_EQ(CountEvents(kMenuEvent, kPasteItem), 1);
    EXPECT_EQ(Pending().size(), 1u);

    // Another window in front: the key press goes nowhere.
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other, kHangGuardMs));
    Events().Clear();
    Desktop().PostKeyPress(kKeyCodeV, kCommandFlag);
    Settle();
    EXPECT_TRUE(Pending().empty());
    EXPECT_EQ(Search()->text(), "");
}

TEST_F(ShortcutTest, ShortcutsOfOtherWindowsAreLeftAlone) {
    QWidget other;
    QLineEdit field(&other);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other, kHangGuardMs));
    field.setFocus();
    Events().Clear();
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(CountEvents(kMenuEvent, kPasteItem), 0);
    EXPECT_EQ(field.text(), "/tmp/pasted");
}

}  // namespace
}  // namespace corvane::platform
