// What the user does with a control is stored in the state and then reported as an event.
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QWheelEvent>

#include "app/event_loop.h"
#include "platform/clipboard.h"
#include "program/ids.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

TEST_F(MainWindowTest, CheckboxClickStoresTheTickThenReports) {
    auto* box = qobject_cast<QCheckBox*>(WidgetFor(kDockTimeCheckbox));
    box->click();
    EXPECT_TRUE(TheUi().IsChecked(kDockTimeCheckbox));
    std::vector<Event> events = ControlEventsOf(kDockTimeCheckbox);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, kLeftClick);
    // The program's own change posts nothing.
    Events().Clear();
    TheUi().SetChecked(kDockTimeCheckbox, false);
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(Pending().empty());
}

TEST_F(MainWindowTest, PopupChoiceStoresTheSelectionThenReportsAChange) {
    auto* popup = qobject_cast<QComboBox*>(WidgetFor(kAlgorithmPopup));
    popup->setCurrentIndex(3);
    emit popup->activated(3);  // what a choice in the open list emits
    EXPECT_EQ(TheUi().SelectedItemText(kAlgorithmPopup), "SHA256");
    std::vector<Event> events = ControlEventsOf(kAlgorithmPopup);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, kSelectionChange);
}

TEST_F(MainWindowTest, WheelOverThePopupLeavesTheChoiceAlone) {
    TheUi().SetEnabled(kAlgorithmPopup, true);
    TheUi().SelectItem(kAlgorithmPopup, 1);
    auto* popup = qobject_cast<QComboBox*>(WidgetFor(kAlgorithmPopup));
    ASSERT_EQ(popup->currentIndex(), 1);
    for (int notch : {-120, -120}) {
        QPointF at = popup->rect().center();
        QWheelEvent wheel(at, popup->mapToGlobal(at), QPoint(), QPoint(0, notch), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(popup, &wheel);
        EXPECT_FALSE(wheel.isAccepted());  // left to the window
    }
    EXPECT_EQ(popup->currentIndex(), 1);
    EXPECT_EQ(std::get<PopupState>(TheUi().Control(kAlgorithmPopup).fields).selected, 1);
    EXPECT_TRUE(Pending().empty());
}

TEST_F(MainWindowTest, SearchFieldTextSetByTheProgramPostsNothing) {
    TheUi().SetEnabled(kSearchField, true);
    TheUi().SetText(kSearchField, "abc");
    EXPECT_EQ(qobject_cast<QLineEdit*>(WidgetFor(kSearchField))->text(), "abc");
    EXPECT_TRUE(Pending().empty());
}

// Keystrokes that arrive before the loop takes their events: the search sees each term once.
TEST_F(MainWindowTest, FastTypingInTheSearchFieldStartsAtTheFirstMatch) {
    for (const char* name : {"/etc/hostname", "/etc/passwd", "/etc/group"}) {
        ListRow row;
        row.cells = {name, "", "", "", ""};
        TheUi().AppendRow(kChecksumList, row);
    }
    TheUi().SetEnabled(kSearchField, true);
    auto* field = qobject_cast<QLineEdit*>(WidgetFor(kSearchField));
    auto catchUp = [] {
        while (auto event = Events().Wait(0)) DispatchEvent(*event);
    };
    QTest::keyClicks(field, "/etc/");
    catchUp();
    EXPECT_EQ(TheUi().SelectedRow(kChecksumList), 0);
    QTest::keyClick(field, Qt::Key_Space);  // the same term once more: the next match
    catchUp();
    EXPECT_EQ(TheUi().SelectedRow(kChecksumList), 1);
    QTest::keyClick(field, Qt::Key_Return);  // Enter changes no text and searches nothing
    catchUp();
    EXPECT_EQ(TheUi().SelectedRow(kChecksumList), 1);
}

TEST_F(QtBackendTest, EditorReportsUserChangesButNotTheProgramsText) {
    WindowSpec spec;
    spec.kind = WindowKind::Panel;
    spec.contentSize = {460, 200};
    TheUi().CreateWindow(kExclusionsSheet, spec);
    TheUi().CreateControl(kExclusionsEditor,
                          {ControlKind::TextEditor, kExclusionsSheet, {20, 30, 420, 110}, "/a|/b"});
    auto* editor = qobject_cast<QPlainTextEdit*>(WidgetFor(kExclusionsEditor));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->toPlainText(), "/a|/b");
    TheUi().SetText(kExclusionsEditor, "/c");
    EXPECT_EQ(editor->toPlainText(), "/c");
    EXPECT_TRUE(Pending().empty());

    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, "|/d");
    EXPECT_EQ(TheUi().Text(kExclusionsEditor), "/c|/d");
    std::vector<Event> events = ControlEventsOf(kExclusionsEditor);
    ASSERT_EQ(events.size(), 1u);  // one waiting change covers the three keystrokes
    EXPECT_EQ(events[0].type, kTextChange);
    EXPECT_EQ(events[0].window, kExclusionsSheet);
}

class ListClickTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        for (int i = 0; i < 3; ++i) {
            ListRow row;
            row.cells = {"/tmp/f" + std::to_string(i), "sum" + std::to_string(i), "", "", ""};
            TheUi().AppendRow(kChecksumList, row);
        }
        TheUi().SetEnabled(kChecksumList, true);
        Settle();
        Events().Clear();
    }
    static QTableView* List() { return qobject_cast<QTableView*>(WidgetFor(kChecksumList)); }
    static QPoint RowCentre(int row) { return List()->visualRect(List()->model()->index(row, 1)).center(); }
    static void RightClick(QPoint at) {
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, List()->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(List()->viewport(), &request);
    }
};

TEST_F(ListClickTest, LeftClickSelectsTheRowThenReports) {
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
    EXPECT_EQ(TheUi().SelectedRow(kChecksumList), 1);
    std::vector<Event> events = ControlEventsOf(kChecksumList);
    ASSERT_GE(events.size(), 1u);
    EXPECT_EQ(events[0].type, kLeftClick);
}

TEST_F(ListClickTest, RightClickSelectsTheRowUnderThePointerThenReports) {
    TheUi().SelectRow(kChecksumList, 0);
    RightClick(RowCentre(2));
    EXPECT_EQ(TheUi().SelectedRow(kChecksumList), 2);
    EXPECT_EQ(List()->selectionModel()->selectedRows().value(0).row(), 2);
    std::vector<Event> events = ControlEventsOf(kChecksumList);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, kRightClick);
}

TEST_F(ListClickTest, RightClickBelowTheRowsKeepsTheSelection) {
    TheUi().SelectRow(kChecksumList, 1);
    QPoint below(20, List()->viewport()->height() - 5);
    ASSERT_FALSE(List()->indexAt(below).isValid());
    QTest::mousePress(List()->viewport(), Qt::RightButton, {}, below);
    RightClick(below);
    EXPECT_EQ(TheUi().SelectedRow(kChecksumList), 1);
    std::vector<Event> events = ControlEventsOf(kChecksumList);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, kRightClick);
}

// The layer's selected row follows the list's highlight whatever moved it.
struct KeyMoves {
    const char* name;
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
    int row;
};

void PrintTo(const KeyMoves& moves, std::ostream* out) {
    *out << moves.name;
}

class ListKeyTest : public ListClickTest, public ::testing::WithParamInterface<KeyMoves> {};

TEST_P(ListKeyTest, KeyboardMovesCarryTheSelectionToTheLayer) {
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(0));
    for (auto [key, modifiers] : GetParam().keys) QTest::keyClick(List(), key, modifiers);
    ASSERT_EQ(List()->selectionModel()->selectedRows().value(0).row(), GetParam().row);
    EXPECT_EQ(TheUi().SelectedRow(kChecksumList), GetParam().row);
    // A right click off the rows acts on the row the keys reached.
    QPoint below(20, List()->viewport()->height() - 5);
    ASSERT_FALSE(List()->indexAt(below).isValid());
    RightClick(below);
    EXPECT_EQ(TheUi().SelectedRow(kChecksumList), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ListKeyTest,
    ::testing::Values(KeyMoves{"DownTwice", {{Qt::Key_Down, {}}, {Qt::Key_Down, {}}}, 2},
                      KeyMoves{"DownThenUp", {{Qt::Key_Down, {}}, {Qt::Key_Up, {}}}, 0},
                      KeyMoves{"PageDown", {{Qt::Key_PageDown, {}}}, 2},
                      KeyMoves{"ControlEnd", {{Qt::Key_End, Qt::ControlModifier}}, 2},
                      KeyMoves{"ControlEndThenHome",
                               {{Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Home, Qt::ControlModifier}},
                               0}),
    [](const ::testing::TestParamInfo<KeyMoves>& paramInfo) { return paramInfo.param.name; });

// A left click is a press and a release on the list. The loop handles each event as soon as it is queued,
// as the real event loop does between the mouse events of a drag.
TEST_F(ListClickTest, DragCopiesTheRowWhereItEnded) {
    auto catchUp = [] {
        while (auto event = Events().Wait(0)) DispatchEvent(*event);
    };
    Clipboard().SetClipboardText("before");
    QTest::mousePress(List()->viewport(), Qt::LeftButton, {}, RowCentre(0));
    catchUp();
    EXPECT_EQ(Clipboard().ClipboardText(), "before");
    QTest::mouseMove(List()->viewport(), RowCentre(1));
    catchUp();
    QTest::mouseMove(List()->viewport(), RowCentre(2));
    catchUp();
    QTest::mouseRelease(List()->viewport(), Qt::LeftButton, {}, RowCentre(2));
    ASSERT_EQ(List()->selectionModel()->selectedRows().value(0).row(), 2);
    EXPECT_EQ(TheUi().SelectedRow(kChecksumList), 2);
    std::vector<Event> events = ControlEventsOf(kChecksumList);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, kLeftClick);
    catchUp();
    EXPECT_EQ(Clipboard().ClipboardText(), "sum2");
}

// Each click of a double click copies, the second one like the first.
TEST_F(ListClickTest, DoubleClickIsTwoClicks) {
    QWidget* viewport = List()->viewport();
    QPoint at = RowCentre(1);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    // The window system turns the second press into a double click.
    QMouseEvent second(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &second);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
    std::vector<Event> events = ControlEventsOf(kChecksumList);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].type, kLeftClick);
}

// A drag that leaves the list before the button comes up is no click: nothing is reported or copied.
TEST_F(ListClickTest, ReleaseOutsideTheListCopiesNothing) {
    Clipboard().SetClipboardText("before");
    QTest::mousePress(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
    QPoint outside(List()->viewport()->width() + 40, RowCentre(1).y());
    QTest::mouseMove(List()->viewport(), outside);
    QTest::mouseRelease(List()->viewport(), Qt::LeftButton, {}, outside);
    EXPECT_TRUE(ControlEventsOf(kChecksumList).empty());
    while (auto event = Events().Wait(0)) DispatchEvent(*event);
    EXPECT_EQ(Clipboard().ClipboardText(), "before");
}

TEST_F(ListClickTest, DisabledListReportsNothing) {
    TheUi().SetEnabled(kChecksumList, false);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(1));
    EXPECT_TRUE(ControlEventsOf(kChecksumList).empty());
}

}  // namespace
}  // namespace corvane::platform
