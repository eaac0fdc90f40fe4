// A fixture that runs the real Qt backend on the offscreen platform, with HOME in a fresh folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/events.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_test_access.h"
#include "platform/ui.h"
#include "program/events.h"
#include "program/ids.h"
#include "program/settings.h"
#include "support/temp_home.h"
#include "support/wait_until.h"

namespace corvane::platform {

// The hang guard in milliseconds, as Qt's waits take it.
constexpr int kHangGuardMs = static_cast<int>(std::chrono::milliseconds(testing::kHangGuard).count());

// Acts on the modal dialog of type Dialog as soon as it is open, however long it takes to come: a timer
// of Qt's loop looks for it, so it is found inside the dialog's own loop too. Acts once.
template <typename Dialog>
void WhenModalOpens(std::function<void(Dialog*)> act) {
    auto* poll = new QTimer(QCoreApplication::instance());
    poll->setInterval(5);
    auto shared = std::make_shared<std::function<void(Dialog*)>>(std::move(act));
    QObject::connect(poll, &QTimer::timeout, poll, [poll, shared] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        auto keep = shared;  // the connection goes with the timer
        (*keep)(dialog);
    });
    poll->start();
}

class QtBackendTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(home_.Path().empty());
        backend_ = std::make_unique<QtBackend>(argc_, argv_, BackendIds());
        Application().CreateApplication();
        ASSERT_NE(QApplication::instance(), nullptr);
    }

    void TearDown() override { backend_.reset(); }

    // What a modal alert showed; it is answered with its default button.
    struct ShownAlert {
        int answer = 0;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString text;
        QString informative;
        bool boldText = false;
    };
    // Reads the alert that opens next into shown, then answers it.
    static void ReadAlertWhenOpen(ShownAlert* shown) {
        WhenModalOpens<QMessageBox>([shown](QMessageBox* box) {
            shown->icon = box->icon();
            shown->text = box->text();
            shown->informative = box->informativeText();
            for (QLabel* label : box->findChildren<QLabel*>()) {
                if (label->text() == box->text()) shown->boldText = label->font().bold();
            }
            box->defaultButton()->click();
        });
    }
    static ShownAlert RunAndReadAlert(const AlertSpec& alert) {
        ShownAlert shown;
        ReadAlertWhenOpen(&shown);
        shown.answer = Dialogs().RunAlert(alert);
        return shown;
    }

    // Lets Qt deliver what is queued (queued calls from other threads included).
    static void Settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    static std::vector<Event> Pending() { return Events().PendingEvents(); }

    static int CountEvents(int kind, int object = 0) {
        int count = 0;
        for (const Event& e : Pending())
            count += e.kind == kind && (kind != kMenuEvent || e.object == object);
        return count;
    }

    static std::vector<Event> ControlEventsOf(ControlId id) {
        std::vector<Event> found;
        for (const Event& e : Pending()) {
            if (e.kind == kControlEvent && e.object == static_cast<int>(id)) found.push_back(e);
        }
        return found;
    }

    corvane::testing::TempHome home_;
    int argc_ = 1;
    char name_[16] = "qt_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QtBackend> backend_;
};

// The main window as start-up builds it, with the queue emptied afterwards.
class MainWindowTest : public QtBackendTest {
  protected:
    void SetUp() override {
        QtBackendTest::SetUp();
        InitializeSharedState();
        ReadSettings();
        BuildMainWindow();
        Settle();
        Events().Clear();
    }

    static QWidget* Main() { return WindowWidgetFor(kMainWindow); }

    // Makes the main window the active window, as the user's click would.
    static bool ActivateMain() {
        Main()->activateWindow();
        return QTest::qWaitForWindowActive(Main(), kHangGuardMs);
    }
};

}  // namespace corvane::platform
