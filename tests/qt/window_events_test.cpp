// What the user does to the windows themselves: close, resize, state changes, drops.
#include <QDialog>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

#include "program/ids.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

TEST_F(MainWindowTest, CloseButtonPostsARequestAndTheWindowStaysOpen) {
    EXPECT_FALSE(Main()->close());
    Settle();
    EXPECT_TRUE(Main()->isVisible());
    ASSERT_EQ(CountEvents(kCloseRequestEvent), 1);
    EXPECT_EQ(Pending()[0].window, kMainWindow);
}

TEST_F(MainWindowTest, ResizeByTheUserPostsASizeEventWithTheNewContentSize) {
    QSize extra = Main()->size() - ContentWidgetFor(kMainWindow)->size();
    Main()->resize(QSize(700, 450) + extra);
    Settle();
    EXPECT_EQ(TheUi().ContentSize(kMainWindow), (Size{700, 450}));
    EXPECT_EQ(CountEvents(kSizeEvent), 1);
    Main()->resize(QSize(720, 460) + extra);
    Settle();
    // Still one waiting: a newer size event replaces the older.
    EXPECT_EQ(CountEvents(kSizeEvent), 1);
    EXPECT_EQ(TheUi().ContentSize(kMainWindow), (Size{720, 460}));
}

struct StateChange {
    const char* name;
    Qt::WindowStates from;
    Qt::WindowStates to;
    bool restore;
};

void PrintTo(const StateChange& change, std::ostream* out) {
    *out << change.name;
}

class RestoreTest : public MainWindowTest, public ::testing::WithParamInterface<StateChange> {};

TEST_P(RestoreTest, OnlyTheReturnsFromASpecialStatePostRestore) {
    const StateChange& change = GetParam();
    Main()->setWindowState(change.from);
    Settle();
    Events().Clear();
    Main()->setWindowState(change.to);
    Settle();
    EXPECT_EQ(CountEvents(kRestoreEvent), change.restore ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    States, RestoreTest,
    ::testing::Values(StateChange{"MaximisedToNormal", Qt::WindowMaximized, Qt::WindowNoState, true},
                      StateChange{"FullScreenToNormal", Qt::WindowFullScreen, Qt::WindowNoState, true},
                      StateChange{"MinimisedToNormal", Qt::WindowMinimized, Qt::WindowNoState, true},
                      StateChange{"MinimisedToMaximised", Qt::WindowMinimized | Qt::WindowMaximized,
                                  Qt::WindowMaximized, false},
                      StateChange{"NormalToMaximised", Qt::WindowNoState, Qt::WindowMaximized, false},
                      StateChange{"NormalToMinimised", Qt::WindowNoState, Qt::WindowMinimized, false},
                      StateChange{"MaximisedToMinimised", Qt::WindowMaximized,
                                  Qt::WindowMaximized | Qt::WindowMinimized, false},
                      StateChange{"NormalToFullScreen", Qt::WindowNoState, Qt::WindowFullScreen, false},
                      StateChange{"MaximisedToFullScreen", Qt::WindowMaximized, Qt::WindowFullScreen, false},
                      StateChange{"MinimisedToFullScreen", Qt::WindowMinimized, Qt::WindowFullScreen, false},
                      StateChange{"MinimisedFullScreenBack", Qt::WindowMinimized | Qt::WindowFullScreen,
                                  Qt::WindowFullScreen, false},
                      StateChange{"FullScreenToMaximised", Qt::WindowFullScreen, Qt::WindowMaximized, true},
                      StateChange{"MaximisedFullScreenToMaximised",
                                  Qt::WindowMaximized | Qt::WindowFullScreen, Qt::WindowMaximized, true}),
    [](const ::testing::TestParamInfo<StateChange>& paramInfo) { return paramInfo.param.name; });

// A drag that enters the window and is dropped there, as Qt delivers it.
void Drop(QWidget* target, QMimeData* data) {
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return;
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

TEST_F(MainWindowTest, DroppedFilesArePostedInDragOrder) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/b file.txt"), QUrl("https://example.com/x"),
                  QUrl::fromLocalFile("/tmp/a")});
    Drop(Main(), &data);
    std::vector<Event> events = Pending();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, kDropEvent);
    EXPECT_EQ(events[0].window, kMainWindow);
    EXPECT_EQ(events[0].data, 1);
    EXPECT_EQ(events[0].text, "/tmp/b file.txt\n/tmp/a");
}

// A file manager's uri-list escapes the bytes of each name; they come back as those bytes, UTF-8 or not.
TEST_F(MainWindowTest, DroppedFileUrlsKeepTheBytesOfTheirNames) {
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"),
                 "file:///tmp/inv%FF%FE.txt\r\nfile:///tmp/caf%E9.txt\r\nfile:///tmp/caf%C3%A9%20x.txt\r\n");
    Drop(Main(), &data);
    std::vector<Event> events = Pending();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].data, 1);
    EXPECT_EQ(events[0].text, "/tmp/inv\xFF\xFE.txt\n/tmp/caf\xE9.txt\n/tmp/caf\xC3\xA9 x.txt");
}

// A line feed of a name travels inside its line as NUL, so that it never splits the name into two paths.
TEST_F(MainWindowTest, DroppedNameWithALineFeedStaysOneLine) {
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), "file:///tmp/q%0Arel.txt\r\nfile:///tmp/a%0A\r\n");
    Drop(Main(), &data);
    std::vector<Event> events = Pending();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].text, std::string("/tmp/q\0rel.txt\n/tmp/a\0", 22));
}

TEST_F(MainWindowTest, DropWithoutFilesIsPostedWithoutData) {
    QMimeData data;
    data.setText("just text");
    Drop(Main(), &data);
    std::vector<Event> events = Pending();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, kDropEvent);
    EXPECT_EQ(events[0].data, 0);
    EXPECT_EQ(events[0].text, "");
}

TEST_F(MainWindowTest, NoDropsOnceTheWindowStopsAcceptingThem) {
    TheUi().SetAcceptsFileDrops(kMainWindow, false);
    EXPECT_FALSE(Main()->acceptDrops());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a")});
    Drop(Main(), &data);
    EXPECT_EQ(CountEvents(kDropEvent), 0);
}

TEST_F(MainWindowTest, ChildControlsLeaveDropsToTheWindow) {
    for (ControlId id : {kSearchField, kStatusLine, kChecksumList}) {
        EXPECT_FALSE(WidgetFor(id)->acceptDrops()) << static_cast<int>(id);
    }
}

TEST_F(MainWindowTest, SheetIsAWindowModalDialogThatOnlyTheProgramCloses) {
    WindowSpec spec;
    spec.kind = WindowKind::Sheet;
    spec.contentSize = {460, 200};
    spec.parent = kMainWindow;
    TheUi().CreateWindow(kExclusionsSheet, spec);
    TheUi().CreateControl(kExclusionsSave,
                          {ControlKind::Button, kExclusionsSheet, {350, 160, 80, 25}, "Save"});
    TheUi().SetDefault(kExclusionsSave, true);
    auto* sheet = qobject_cast<QDialog*>(WindowWidgetFor(kExclusionsSheet));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->parentWidget(), Main());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->size(), QSize(460, 200));
    // An empty title would reach the window system as the application's name.
    ASSERT_NE(sheet->windowHandle(), nullptr);
    EXPECT_FALSE(sheet->windowHandle()->title().isEmpty());
    EXPECT_TRUE(sheet->windowHandle()->title().trimmed().isEmpty());
    auto* save = qobject_cast<QPushButton*>(WidgetFor(kExclusionsSave));
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->parentWidget(), sheet);
    EXPECT_TRUE(save->isDefault());

    save->click();
    std::vector<Event> events = ControlEventsOf(kExclusionsSave);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].window, kExclusionsSheet);
    EXPECT_EQ(events[0].type, kLeftClick);

    Events().Clear();
    EXPECT_FALSE(sheet->close());
    Settle();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(Pending().empty());

    TheUi().CloseWindow(kExclusionsSheet);
    EXPECT_EQ(WindowWidgetFor(kExclusionsSheet), nullptr);
    EXPECT_EQ(WidgetFor(kExclusionsSave), nullptr);
    EXPECT_NE(Main(), nullptr);
}

TEST_F(QtBackendTest, PanelFloatsWithATitleBarOnly) {
    WindowSpec spec;
    spec.kind = WindowKind::Panel;
    spec.contentSize = {400, 120};
    spec.title = "Updating the Malware Database...";
    TheUi().CreateWindow(kUpdateWindow, spec);
    QWidget* panel = WindowWidgetFor(kUpdateWindow);
    ASSERT_NE(panel, nullptr);
    Qt::WindowFlags flags = panel->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(panel->size(), QSize(400, 120));
    EXPECT_EQ(panel->minimumSize(), panel->maximumSize());
    EXPECT_EQ(panel->windowTitle(), "Updating the Malware Database...");
    EXPECT_FALSE(panel->close());
    EXPECT_TRUE(Pending().empty());
}

}  // namespace
}  // namespace corvane::platform
