#include "platform/qt/qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QStyleFactory>
#include <QUrl>
#include <filesystem>

#include "platform/events.h"
#include "platform/qt/qt_app_filter.h"
#include "platform/qt/qt_display_guard.h"
#include "platform/qt/qt_icons.h"
#include "platform/qt/qt_mirror.h"
#include "platform/qt/qt_paint_pacer.h"
#include "platform/qt/qt_program_ids.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_x11_clipboard.h"

namespace corvane::platform {

namespace {

// As long as Qt itself waits for another program's clipboard.
constexpr int kClipboardTimeoutMs = 5000;

QMessageBox::Icon AlertIcon(AlertStyle style) {
    switch (style) {
        case AlertStyle::Error:
            return QMessageBox::Critical;
        case AlertStyle::Informational:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

QtServices::QtServices(int& argc, char** argv, UiMirror& mirror)
    : argc_(argc), argv_(argv), mirror_(mirror) {}

QtServices::~QtServices() = default;

void QtServices::CreateApplication() {
    if (QCoreApplication::instance()) return;
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setOrganizationName(QStringLiteral("Veltrane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("corvane"));
    {
        DisplayGuard guard;
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    // The windows place their controls at fixed positions, so the style is fixed as well (the windows
    // also fix their font; alerts and file dialogs keep the desktop's).
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ApplicationIcon());

    filter_ = new ApplicationFilter(app_.get());
    filter_->SetObservingAppearance(observingAppearance_);
    app_->installEventFilter(filter_);
    // The session ending is a quit request like any other; the program ends itself.
    QObject::connect(app_.get(), &QGuiApplication::commitDataRequest,
                     [](QSessionManager&) { PostProgramMenuEvent(TheProgramIds().quitItem); });
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [this] { WatchClipboard(); });
}

void QtServices::ActivateApplication() {
    if (QWidget* main = mirror_.WindowWidget(TheProgramIds().mainWindow)) {
        main->raise();
        main->activateWindow();
    }
}

int QtServices::RunAlert(const AlertSpec& alert) {
    if (!QCoreApplication::instance()) return kFirstButton;
    QMessageBox box(mirror_.WindowWidget(TheProgramIds().mainWindow));
    box.setWindowTitle(ToQString(alert.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText(alert.message));
    // An alert's message is its bold first text, above the plain informative text.
    if (auto* message = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        QFont bold = message->font();
        bold.setBold(true);
        message->setFont(bold);
    }
    box.setInformativeText(DisplayText(alert.informative));
    if (alert.style == AlertStyle::Application) {
        box.setIconPixmap(ApplicationIcon().pixmap(64, 64));
    } else {
        box.setIcon(AlertIcon(alert.style));
    }
    std::vector<QPushButton*> buttons;
    for (const auto& title : alert.buttons) {
        QMessageBox::ButtonRole role = buttons.empty() ? QMessageBox::AcceptRole : QMessageBox::ActionRole;
        buttons.push_back(box.addButton(ToQString(title), role));
    }
    if (buttons.empty()) buttons.push_back(box.addButton(QMessageBox::Ok));
    box.setDefaultButton(buttons.front());
    box.setEscapeButton(buttons.front());
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i]) return kFirstButton + static_cast<int>(i);
    }
    return kFirstButton;
}

std::string QtServices::RunSavePanel(const std::string& title, const std::string& defaultName) {
    if (!QCoreApplication::instance()) return {};
    return FromQString(savePanel_.Run(mirror_.WindowWidget(TheProgramIds().mainWindow), ToQString(title),
                                      ToQString(defaultName)));
}

void QtServices::DrawWindowNow(WindowId window) {
    // repaint() paints and hands the picture to the window system within the call; update() would wait
    // for an event loop.
    QWidget* widget = mirror_.WindowWidget(window);
    if (widget && widget->isVisible()) PaintPacer::PaintNow(widget);
}

void QtServices::PlaySystemSound(int sound) {
    if (sound == kAlertSound) {
        sounds_.Play("bell");
    } else if (sound == kCompletionSound) {
        sounds_.Play("complete");
    }
}

std::vector<Rect> QtServices::Displays() {
    std::vector<Rect> displays;
    if (!QCoreApplication::instance()) return displays;
    QScreen* primary = QGuiApplication::primaryScreen();
    auto add = [&](QScreen* screen) {
        QRect g = screen->geometry();
        displays.push_back({g.x(), g.y(), g.width(), g.height()});
    };
    if (primary) add(primary);
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) add(screen);
    }
    return displays;
}

Point QtServices::PointerPosition() {
    if (!QCoreApplication::instance()) return {};
    QPoint at = QCursor::pos();
    return {at.x(), at.y()};
}

std::string QtServices::ClipboardText() {
    if (!QCoreApplication::instance()) return {};
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Another program's text, as the bytes it offers (a file name need not be UTF-8); our own copy is
    // answered by this very thread, so it is read from Qt.
    if (!clipboard->ownsClipboard()) {
        if (std::optional<std::string> bytes = ReadX11ClipboardBytes(kClipboardTimeoutMs)) return *bytes;
    }
    const QMimeData* mime = clipboard->mimeData();
    if (!mime) return {};
    // Qt hands these formats on undecoded; other text only as a string.
    for (QLatin1String format : {QLatin1String("text/plain;charset=utf-8"), QLatin1String("text/plain")}) {
        if (mime->hasFormat(format)) return mime->data(format).toStdString();
    }
    return FromQString(mime->text());
}

void QtServices::SetClipboardText(const std::string& text) {
    // The count rises at once for our own write; Qt's notice of that same write, which on X11 may come
    // later, is not counted again.
    ++clipboardCount_;
    if (!QCoreApplication::instance()) return;
    writingClipboard_ = true;
    ownNoticeDue_ = true;
    QGuiApplication::clipboard()->setText(ToQString(text));
    writingClipboard_ = false;
}

void QtServices::WatchClipboard() {
    // Qt reports our own write once, during the write or (on some desktops) later while we still own the
    // clipboard; that one notice is already counted. Every other change counts, copies in our own text
    // fields included.
    bool ours = writingClipboard_ || (ownNoticeDue_ && QGuiApplication::clipboard()->ownsClipboard());
    ownNoticeDue_ = false;
    if (!ours) ++clipboardCount_;
}

int64_t QtServices::ClipboardChangeCount() {
    return clipboardCount_;
}

void QtServices::OpenUrl(const std::string& url) {
    if (QCoreApplication::instance()) QDesktopServices::openUrl(QUrl(ToQString(url)));
}

void QtServices::RevealFile(const std::string& path) {
    if (!QCoreApplication::instance()) return;
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(path, error);
    if (error) return;
    QUrl folder = FileUrlOf(file.parent_path().native());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{FileUrlOf(file.native()).toString(QUrl::FullyEncoded)} << QString();
    // Asked without waiting: a file manager that is missing or fails opens the folder instead.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [watcher, folder] {
        if (watcher->isError()) QDesktopServices::openUrl(folder);
        watcher->deleteLater();
    });
}

std::vector<std::string> QtServices::RunningApplicationNames() {
    return {"Corvane"};
}

void QtServices::LaunchApplication(const std::string&) {
    // This program is always among the running applications, so there is nothing to launch.
}

void QtServices::PostKeyPress(int keyCode, uint64_t flags) {
    // The synthetic paste reaches only our own main window, and only while it is the active window.
    if (keyCode != kKeyCodeV || (flags & kCommandFlag) == 0) return;
    if (QCoreApplication::instance() && MainWindowIsActive()) PostProgramMenuEvent(TheProgramIds().pasteItem);
}

void QtServices::SetAppearanceObserver(bool registered) {
    observingAppearance_ = registered;
    if (filter_) filter_->SetObservingAppearance(registered);
}

}  // namespace corvane::platform
