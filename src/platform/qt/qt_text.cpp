#include "platform/qt/qt_text.h"

namespace corvane::platform {

QString DisplayText(const std::string& text) {
    QString shown = ToQString(text);
    // Pairs first, so that a "\r\n" stays one break.
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QUrl FileUrlOf(const std::string& path) {
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"),
                             QUrl::StrictMode);
}

std::string LocalPathOf(const QUrl& url) {
    std::string path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
    if (url.host().isEmpty()) return path;
    return "//" + url.host(QUrl::FullyEncoded).toStdString() + path;
}

}  // namespace corvane::platform
