// Conversions between the program's texts and colours and Qt's.
#pragma once

#include <QColor>
#include <QString>
#include <QUrl>
#include <string>

#include "platform/ui.h"

namespace corvane::platform {

inline QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string FromQString(const QString& text) {
    return text.toStdString();
}

// File names are bytes. QUrl::fromLocalFile and QUrl::toLocalFile go through a QString, which turns the
// bytes of a name that is not UTF-8 into U+FFFD; these keep them, as the URL's percent-escapes.
QUrl FileUrlOf(const std::string& path);
// The local path of a file URL (a host is kept in front, as toLocalFile keeps it).
std::string LocalPathOf(const QUrl& url);

// Line breaks as Qt shows them: a carriage return breaks the line like a line feed, so the program's "\n\r"
// gives an empty line; a "\r\n" pair breaks it once.
QString DisplayText(const std::string& text);

// 0xBBGGRR to a Qt colour.
inline QColor ToQColor(Color color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

}  // namespace corvane::platform
