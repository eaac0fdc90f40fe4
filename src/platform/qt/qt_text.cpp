#include "platform/qt/qt_text.h"

namespace corvane::platform {

QString DisplayText(const std::string& text) {
    QString shown = ToQString(text);
    // Pairs first, so that a "\r\n" stays one break.
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace corvane::platform
