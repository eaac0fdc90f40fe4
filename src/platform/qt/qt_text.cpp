#include "platform/qt/qt_text.h"

namespace corvane::platform {

QString DisplayText(const std::string& text) {
    QString shown = ToQString(text);
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace corvane::platform
