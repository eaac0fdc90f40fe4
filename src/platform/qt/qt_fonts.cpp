#include "platform/qt/qt_fonts.h"

#include <QStringList>

namespace corvane::platform {

namespace {

constexpr int kControlPixels = 12;

QFont NarrowFont(int pixels) {
    QFont font(QStringLiteral("Liberation Sans Narrow"));
    // Faces of about the same width where Liberation is missing.
    QStringList families;
    families << QStringLiteral("Liberation Sans Narrow") << QStringLiteral("Nimbus Sans Narrow")
             << QStringLiteral("DejaVu Sans Condensed");
    font.setFamilies(families);
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

QFont ControlFont() {
    return NarrowFont(kControlPixels);
}

QFont ButtonFont() {
    return NarrowFont(kControlPixels - 1);
}

}  // namespace corvane::platform
