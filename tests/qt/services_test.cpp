// The desktop services of the Qt backend.
#include <QAbstractButton>
#include <QClipboard>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <csignal>
#include <fstream>
#include <thread>

#include "app/about.h"
#include "app/appearance.h"
#include "app/csv_export.h"
#include "platform/clipboard.h"
#include "platform/desktop.h"
#include "platform/qt/qt_text.h"
#include "platform/screens.h"
#include "platform/sounds.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

TEST_F(QtBackendTest, ApplicationIsNamedAndStaysUpWithoutWindows) {
    EXPECT_EQ(QCoreApplication::applicationName(), "Corvane");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "corvane");
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
    EXPECT_EQ(Desktop().RunningApplicationNames(), std::vector<std::string>{"Corvane"});
}

TEST_F(QtBackendTest, DisplaysComeFromTheScreensPrimaryFirst) {
    std::vector<Rect> displays = Screens().Displays();
    ASSERT_EQ(displays.size(), 1u);
    EXPECT_EQ(displays[0], (Rect{0, 0, 1440, 900}));
    QCursor::setPos(300, 200);
    EXPECT_EQ(Screens().PointerPosition(), (Point{300, 200}));
}

TEST_F(QtBackendTest, ClipboardCountRisesOnceForEachChangeOurOwnIncluded) {
    ClipboardService& services = Clipboard();
    int64_t start = services.ClipboardChangeCount();
    services.SetClipboardText("sum1");
    EXPECT_EQ(services.ClipboardChangeCount(), start + 1);
    Settle();
    EXPECT_EQ(services.ClipboardChangeCount(), start + 1);
    EXPECT_EQ(services.ClipboardText(), "sum1");
    // Another application's change.
    QGuiApplication::clipboard()->setText("/tmp/a\n/tmp/b");
    Settle();
    EXPECT_EQ(services.ClipboardChangeCount(), start + 2);
    EXPECT_EQ(services.ClipboardText(), "/tmp/a\n/tmp/b");
}

// A path is pasted as the bytes another program offers, whether they are UTF-8 or not.
TEST_F(QtBackendTest, ClipboardTextIsTheBytesOffered) {
    const std::string paths = "/tmp/caf\xE9.txt\n/tmp/inv\xFF\xFE.txt\n/tmp/caf\xC3\xA9.txt";
    auto* offered = new QMimeData;
    offered->setData(QStringLiteral("text/plain"), QByteArray::fromStdString(paths));
    QGuiApplication::clipboard()->setMimeData(offered);
    EXPECT_EQ(Clipboard().ClipboardText(), paths);
    auto* utf8 = new QMimeData;
    utf8->setData(QStringLiteral("text/plain;charset=utf-8"), "/tmp/\xE9t\xE9");
    QGuiApplication::clipboard()->setMimeData(utf8);
    EXPECT_EQ(Clipboard().ClipboardText(), "/tmp/\xE9t\xE9");
    QGuiApplication::clipboard()->setText(QString::fromUtf8("/tmp/caf\xC3\xA9.txt"));
    EXPECT_EQ(Clipboard().ClipboardText(), "/tmp/caf\xC3\xA9.txt");
}

// Takes the URLs the desktop would open, so that nothing is opened.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    std::vector<QUrl> urls;
  public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

TEST_F(QtBackendTest, RevealingAFileWhoseNameIsNotUtf8OpensItsOwnFolder) {
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);  // no file manager: the folder opens
    ASSERT_FALSE(QDBusConnection::sessionBus().isConnected());
    std::string folder = home_.Path() + "/caf\xE9 \xFF";
    UrlCatcher catcher;
    Desktop().RevealFile(folder + "/a.txt");
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_TRUE(catcher.urls[0].isLocalFile());
    EXPECT_EQ(LocalPathOf(catcher.urls[0]), folder);
    EXPECT_EQ(catcher.urls[0].path(QUrl::FullyEncoded).toStdString(), home_.Path() + "/caf%E9%20%FF");
}

// Answers the alert that opens next by clicking the button with this text; notes its title.
void ClickWhenOpen(const QString& text, QString* title = nullptr) {
    WhenModalOpens<QMessageBox>([text, title](QMessageBox* box) {
        if (title) *title = box->windowTitle();
        for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
            if (button->text() == text) return button->click();
        }
        ADD_FAILURE() << "no button " << text.toStdString();
        box->reject();
    });
}

TEST_F(QtBackendTest, AlertAnswersWithTheClickedButtonsNumber) {
    AlertSpec alert;
    alert.style = AlertStyle::Application;
    alert.title = "About Corvane";
    alert.message = "Corvane v1.12 Beta";
    alert.buttons = {"Ok", "See My Other Apps"};
    QString title;
    ClickWhenOpen("See My Other Apps", &title);
    EXPECT_EQ(Dialogs().RunAlert(alert), kSecondButton);
    EXPECT_EQ(title, "About Corvane");
    ClickWhenOpen("Ok");
    EXPECT_EQ(Dialogs().RunAlert(alert), kFirstButton);
}

TEST_F(QtBackendTest, ErrorAlertShowsTheCriticalIconAndItsTexts) {
    AlertSpec alert;
    alert.title = "Error!";
    alert.message = "Could not create the export file!\n";
    alert.informative = "more";
    ShownAlert shown = RunAndReadAlert(alert);
    EXPECT_EQ(shown.answer, kFirstButton);
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.text, "Could not create the export file!\n");
    EXPECT_TRUE(shown.boldText);
    EXPECT_EQ(shown.informative, "more");
}

TEST_F(MainWindowTest, AboutBoxShowsItsVersionBoldAboveTheCredits) {
    ShownAlert shown;
    ReadAlertWhenOpen(&shown);
    ShowAbout();
    EXPECT_EQ(shown.text, "Corvane v1.12 Beta\n(Intel)");
    EXPECT_TRUE(shown.boldText);
    EXPECT_TRUE(shown.informative.startsWith("\nA file hash calculator for macOS\n"));
}

TEST_F(QtBackendTest, EventsPostedWhileAnAlertIsOpenWaitInTheQueue) {
    WhenModalOpens<QMessageBox>([](QMessageBox* box) {
        Events().Post(MenuEvent(kPasteItem));
        ASSERT_FALSE(box->buttons().isEmpty());
        box->buttons().front()->click();
    });
    AlertSpec alert;
    Dialogs().RunAlert(alert);
    EXPECT_EQ(CountEvents(kMenuEvent, kPasteItem), 1);
}

TEST_F(QtBackendTest, CancelledSavePanelGivesAnEmptyPath) {
    QString title;
    WhenModalOpens<QFileDialog>([&title](QFileDialog* dialog) {
        title = dialog->windowTitle();
        dialog->reject();
    });
    EXPECT_EQ(Dialogs().RunSavePanel("Export", "Checksums.csv"), "");
    EXPECT_EQ(title, "Export");
}

// Types the name into the save panel that opens next and saves, as the user would; notes the folder the
// panel started in.
void TypeIntoSavePanelWhenOpen(const QString& name, QString* startFolder) {
    WhenModalOpens<QFileDialog>([name, startFolder](QFileDialog* dialog) {
        *startFolder = dialog->directory().absolutePath();
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!field) return dialog->reject();
        // As for the user, the panel is the active window and its name field has the focus: without the
        // focus, the panel keeps a folder row selected while a path through that folder is typed.
        if (!QTest::qWaitFor([field] { return field->hasFocus(); }, kHangGuardMs)) {
            ADD_FAILURE() << "the name field never had the focus";
            return dialog->reject();
        }
        field->clear();
        QTest::keyClicks(field, name);
        // What Save does. (Return would wait for Save to be enabled, which Qt's panel does only once a
        // thread of its own has looked at the typed folder.) It asks first when the file exists, and
        // returns once the question is answered.
        static_cast<QDialog*>(dialog)->accept();
        // Whatever stays open afterwards is the fault's (or the answer No's).
        if (dialog->isVisible()) dialog->reject();
    });
}

struct TypedName {
    const char* name;
    const char* typed;   // with FOLDER for the test's folder
    const char* chosen;  // with FOLDER, or HOME where the panel starts
};

void PrintTo(const TypedName& typed, std::ostream* out) {
    *out << typed.name;
}

class SavePanelNameTest : public QtBackendTest, public ::testing::WithParamInterface<TypedName> {};

// A typed name is one name, whatever it holds: Qt's own panel reads double quotes as a list of names.
TEST_P(SavePanelNameTest, TheTypedPathComesBackWhole) {
    std::string folder = home_.Path() + "/exports";
    std::filesystem::create_directories(folder);
    auto expand = [&](std::string text) {
        for (auto [mark, value] :
             {std::pair<std::string, std::string>{"FOLDER", folder}, {"HOME", home_.Path()}}) {
            if (size_t at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), value);
        }
        return text;
    };
    QString started;
    TypeIntoSavePanelWhenOpen(QString::fromStdString(expand(GetParam().typed)), &started);
    EXPECT_EQ(Dialogs().RunSavePanel("Save Export File", "x.csv"), expand(GetParam().chosen));
}

INSTANTIATE_TEST_SUITE_P(
    Names, SavePanelNameTest,
    ::testing::Values(TypedName{"QuotesWithAFolder", "FOLDER/my\"file\".csv", "FOLDER/my\"file\".csv"},
                      TypedName{"QuotesAlone", "my\"file\".csv", "HOME/my\"file\".csv"},
                      TypedName{"QuotedWhole", "\"a.csv\"", "HOME/\"a.csv\""},
                      TypedName{"Plain", "FOLDER/plain.csv", "FOLDER/plain.csv"}),
    [](const ::testing::TestParamInfo<TypedName>& paramInfo) { return paramInfo.param.name; });

// The panel's own question before it replaces a file covers names taken whole as well.
TEST_F(QtBackendTest, SavePanelAsksBeforeATypedNameReplacesAFile) {
    std::string existing = home_.Path() + "/my\"file\".csv";
    std::ofstream(existing) << "old";
    for (auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString started;
        QString question;
        TypeIntoSavePanelWhenOpen(QString::fromStdString(existing), &started);
        WhenModalOpens<QMessageBox>([&question, answer](QMessageBox* box) {
            question = box->text();
            box->button(answer)->click();
        });
        std::string chosen = Dialogs().RunSavePanel("Save Export File", "x.csv");
        EXPECT_TRUE(question.startsWith("my\"file\".csv")) << question.toStdString();
        // No leaves the panel open, and the helper then cancels it.
        EXPECT_EQ(chosen, answer == QMessageBox::Yes ? existing : "");
    }
}

// The export writes the cleaned name into the typed folder.
TEST_F(MainWindowTest, ExportTakesTheTypedFolderAndTheWholeTypedName) {
    std::string folder = home_.Path() + "/exports";
    std::filesystem::create_directories(folder);
    QString started;
    TypeIntoSavePanelWhenOpen(QString::fromStdString(folder + "/my\"file\".csv"), &started);
    ExportChecksums();
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/myfile.csv"));
    EXPECT_FALSE(std::filesystem::exists(home_.Path() + "/file"));
}

// Like a desktop save panel, it opens where the last export went in this run; the first time in the home
// folder.
TEST_F(QtBackendTest, SavePanelStartsInTheFolderOfTheLastExport) {
    std::string folder = home_.Path() + "/exports";
    std::filesystem::create_directories(folder);
    QString started;
    TypeIntoSavePanelWhenOpen(QString::fromStdString(folder + "/a.csv"), &started);
    EXPECT_EQ(Dialogs().RunSavePanel("Save Export File", "x.csv"), folder + "/a.csv");
    EXPECT_EQ(started.toStdString(), home_.Path());
    TypeIntoSavePanelWhenOpen("b.csv", &started);
    EXPECT_EQ(Dialogs().RunSavePanel("Save Export File", "x.csv"), folder + "/b.csv");
    EXPECT_EQ(started.toStdString(), folder);
}

TEST_F(QtBackendTest, WaitWithATimeoutReturnsNothingNotBeforeTheDeadline) {
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Events().Wait(100).has_value());
    EXPECT_GE(clock.elapsed(), 95);
}

// The event can only come from Qt's own timer, so the wait ran Qt's loop.
TEST_F(QtBackendTest, WaitRunsQtsLoop) {
    QTimer::singleShot(0, [] { Events().Post(MenuEvent(kResetLayoutItem)); });
    EXPECT_EQ(Events().Wait().object, kResetLayoutItem);
}

// The poster starts from inside the wait's Qt loop; a wait that no post woke would never end.
TEST_F(QtBackendTest, PostFromAnotherThreadEndsTheWait) {
    std::thread poster;
    QTimer::singleShot(
        0, [&poster] { poster = std::thread([] { Events().Post(MenuEvent(kResetLayoutItem)); }); });
    Event event = Events().Wait();
    poster.join();
    EXPECT_EQ(event.object, kResetLayoutItem);
}

TEST_F(QtBackendTest, WindowTimerEventsArriveWhileQtRuns) {
    Events().AddTimer(kMainWindow, 2001, 30);
    Event event = Events().Wait();
    EXPECT_EQ(event.kind, kTimerEvent);
    EXPECT_EQ(event.object, 2001);
}

TEST_F(MainWindowTest, BadgeIsPaintedOnTheIconAndRemovedAgain) {
    auto icon = [] { return Main()->windowIcon().pixmap(64, 64).toImage(); };
    QImage before = icon();
    TheUi().SetBadgeLabel("45%");
    ASSERT_TRUE(QTest::qWaitFor([&] { return icon() != before; }, 5000));
    QImage badged = icon();
    EXPECT_EQ(QGuiApplication::windowIcon().pixmap(64, 64).toImage(), badged);
    TheUi().SetBadgeLabel("");
    EXPECT_TRUE(QTest::qWaitFor([&] { return icon() == before; }, 5000));
}

TEST_F(MainWindowTest, BadgeSetOnAWorkerThreadReachesTheIcon) {
    QImage before = Main()->windowIcon().pixmap(64, 64).toImage();
    std::thread worker([] { TheUi().SetBadgeLabel("0:12"); });
    worker.join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Main()->windowIcon().pixmap(64, 64).toImage() != before; },
                                kHangGuardMs));
}

TEST_F(QtBackendTest, PaletteChangePostsTheAppearanceNoticeWhileObserved) {
    QPalette dark(QColor(40, 40, 40));
    QApplication::setPalette(dark);
    Settle();
    EXPECT_EQ(CountEvents(kAppearanceChangedEvent), 0);
    RegisterAppearanceObserver();
    QApplication::setPalette(QPalette(QColor(200, 200, 200)));
    Settle();
    ASSERT_GE(CountEvents(kAppearanceChangedEvent), 1);
    for (const Event& e : Pending()) EXPECT_EQ(e.window, WindowId::None);
    Events().Clear();
    RemoveAppearanceObserver();
    QApplication::setPalette(dark);
    Settle();
    EXPECT_EQ(CountEvents(kAppearanceChangedEvent), 0);
}

// A burst of sounds is queued to the sound thread, and the backend still ends cleanly afterwards.
TEST_F(QtBackendTest, ABurstOfSoundsIsTakenAndTheBackendEnds) {
    for (int i = 0; i < 20; ++i) {
        Sounds().PlaySystemSound(kAlertSound);
        Sounds().PlaySystemSound(kCompletionSound);
    }
    backend_.reset();
}

}  // namespace
}  // namespace corvane::platform

#include "program/events.h"
#include "services_test.moc"
