#include "platform/qt/qt_display_guard.h"

#include <unistd.h>

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace corvane::platform {

namespace {

struct HeldMessage {
    QtMsgType type;
    QString category;
    QString file;
    QString function;
    int line;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> held;

std::string NoDisplayLine() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    bool hasX11 = x11 && *x11;
    bool hasWayland = wayland && *wayland;
    if (!hasX11 && !hasWayland)
        return "Corvane needs a graphical display: neither DISPLAY nor WAYLAND_DISPLAY is set.";
    std::string where;
    if (hasX11) where += std::string("DISPLAY=") + x11;
    if (hasWayland) where += std::string(hasX11 ? ", " : "") + "WAYLAND_DISPLAY=" + wayland;
    return "Corvane needs a graphical display: none could be opened (" + where + ").";
}

// Qt reports a display it cannot reach with warnings and then a fatal message, after which it aborts.
void HoldOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::string line = NoDisplayLine() + "\n";
        [[maybe_unused]] ssize_t written = write(STDERR_FILENO, line.data(), line.size());
        _exit(1);
    }
    held.push_back({type, QString::fromUtf8(context.category ? context.category : ""),
                    QString::fromUtf8(context.file ? context.file : ""),
                    QString::fromUtf8(context.function ? context.function : ""), context.line, text});
}

}  // namespace

DisplayGuard::DisplayGuard() {
    held.clear();
    previousHandler = qInstallMessageHandler(HoldOrEnd);
}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& message : held) {
        QByteArray category = message.category.toUtf8();
        QByteArray file = message.file.toUtf8();
        QByteArray function = message.function.toUtf8();
        QMessageLogContext context(file.constData(), message.line, function.constData(),
                                   category.constData());
        qt_message_output(message.type, context, message.text);
    }
    held.clear();
}

}  // namespace corvane::platform
