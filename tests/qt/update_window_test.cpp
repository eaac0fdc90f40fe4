// The update window's real widgets at the end of an update.
#include "malwaredb/update_window.h"

#include <gmock/gmock.h>

#include <QLabel>
#include <QProgressBar>

#include "program/events.h"
#include "qt_fixture.h"

namespace corvane::platform {
namespace {

// Notes what the two controls showed each time they were painted.
class PaintRecorder : public QObject {
  public:
    PaintRecorder(QLabel* text, QProgressBar* bar) : text_(text), bar_(bar) {
        text_->installEventFilter(this);
        bar_->installEventFilter(this);
    }
    std::vector<std::string> texts;
    std::vector<int> values;

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (object == text_) texts.push_back(text_->text().toStdString());
            if (object == bar_) values.push_back(bar_->value());
        }
        return false;
    }

  private:
    QLabel* text_;
    QProgressBar* bar_;
};

// The pause before the window closes handles no event, so the last report must be painted before it, even
// while its event still waits in the queue.
TEST_F(QtBackendTest, LastReportIsPaintedBeforeThePauseWithoutHandlingEvents) {
    InitializeSharedState();
    OpenUpdateDialog("Updating the Malware Database...");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WindowWidgetFor(kUpdateWindow), kHangGuardMs));
    Settle();
    auto* text = qobject_cast<QLabel*>(WidgetFor(kUpdateDialogText));
    auto* bar = qobject_cast<QProgressBar*>(WidgetFor(kUpdateDialogBar));
    ASSERT_TRUE(text && bar);
    PaintRecorder painted(text, bar);

    ReportUpdateProgress(50, "Importing Data...");
    ReportUpdateProgress(264, "Update complete.");
    bool handled = false;
    QTimer::singleShot(0, [&] { handled = true; });
    ShowLastUpdateReport();

    EXPECT_THAT(painted.texts, ::testing::Contains("Update complete."));
    EXPECT_THAT(painted.values, ::testing::Contains(100));
    EXPECT_EQ(text->text(), "Update complete.");
    EXPECT_FALSE(handled) << "an event was handled";
    EXPECT_EQ(CountEvents(kUpdateProgressEvent), 2);
    CloseUpdateDialog();
}

}  // namespace
}  // namespace corvane::platform
