// The badge on the application icon while the worker's notices arrive: drawn from Qt's event loop, never
// while the UI lock is held, once for a burst of notices, and only when its text changes.
#include <QEvent>
#include <QImage>
#include <future>

#include "engine/progress_display.h"
#include "engine/progress_notice.h"
#include "engine/run_state.h"
#include "program/ids.h"
#include "program/ui_lock.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

// Records, each time the main window's icon changes, whether another thread could take the UI lock then.
class IconChangeWatcher : public QObject {
  public:
    explicit IconChangeWatcher(QWidget* window) { window->installEventFilter(this); }
    int changes = 0;
    int changesUnderLock = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowIconChange) {
            ++changes;
            bool free = std::async(std::launch::async, [] {
                            if (!UiMutex.try_lock()) return false;
                            UiMutex.unlock();
                            return true;
                        }).get();
            if (!free) ++changesUnderLock;
        }
        return QObject::eventFilter(watched, event);
    }
};

class ProgressBadgeTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ShowDockTime = 0;  // the badge shows the percentage
        TotalFiles = 100;
    }

    // The main thread's handling of an EtaLine notice of the current run.
    static void Eta(int64_t remaining, int64_t seconds) {
        HandleWorkerProgress(kEtaLine, PackEtaNotice(remaining, seconds), CurrentRunNumber);
    }

    static bool WaitForPainted(const std::string& label) {
        return QTest::qWaitFor([&] { return PaintedBadgeLabel() == label; }, 5000);
    }

    static QImage Icon() { return Main()->windowIcon().pixmap(64, 64).toImage(); }
};

TEST_F(ProgressBadgeTest, NoticeLeavesThePaintingToTheEventLoopOutsideTheLock) {
    IconChangeWatcher watcher(Main());
    QImage plain = Icon();
    int paints = BadgePaintCount();

    Eta(55, 12);
    EXPECT_EQ(TheUi().BadgeLabel(), "45%");
    EXPECT_EQ(BadgePaintCount(), paints);
    EXPECT_EQ(watcher.changes, 0);

    ASSERT_TRUE(WaitForPainted("45%"));
    EXPECT_EQ(BadgePaintCount(), paints + 1);
    EXPECT_NE(Icon(), plain);
    EXPECT_GE(watcher.changes, 1);
    EXPECT_EQ(watcher.changesUnderLock, 0);
}

TEST_F(ProgressBadgeTest, BurstOfNoticesPaintsOnlyTheLastText) {
    Eta(99, 60);
    ASSERT_TRUE(WaitForPainted("1%"));
    int paints = BadgePaintCount();
    for (int remaining = 98; remaining >= 10; --remaining) Eta(remaining, 60);
    ASSERT_TRUE(WaitForPainted("90%"));
    EXPECT_EQ(BadgePaintCount(), paints + 1);
}

TEST_F(ProgressBadgeTest, UnchangedTextIsNotPaintedAgain) {
    Eta(50, 30);
    ASSERT_TRUE(WaitForPainted("50%"));
    int paints = BadgePaintCount();
    // Same percentage, other times left: the same badge, one event loop turn each.
    for (int seconds : {29, 28, 27}) {
        Eta(50, seconds);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(BadgePaintCount(), paints);
    // In time mode the text changes with every notice.
    ShowDockTime = 1;
    Eta(50, 26);
    ASSERT_TRUE(WaitForPainted("0:26"));
    EXPECT_EQ(BadgePaintCount(), paints + 1);
}

TEST_F(ProgressBadgeTest, NoticeWithNoTimeLeftEndsWithThePlainIcon) {
    QImage plain = Icon();
    Eta(40, 20);
    ASSERT_TRUE(WaitForPainted("60%"));
    int paints = BadgePaintCount();
    // Sets the badge and removes it in one handling: only the removal is drawn.
    Eta(1, 0);
    EXPECT_EQ(TheUi().BadgeLabel(), "");
    EXPECT_EQ(DockBadgeText, "99%");
    ASSERT_TRUE(WaitForPainted(""));
    EXPECT_EQ(BadgePaintCount(), paints + 1);
    EXPECT_EQ(Icon(), plain);
}

}  // namespace
}  // namespace corvane::platform
