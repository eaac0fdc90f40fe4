// The application icon, its badge, and stand-ins for the symbol images the program names.
#pragma once

#include <QIcon>
#include <QString>
#include <string>

namespace corvane::platform {

// Corvane's icon, painted in code: a blue tile with a shield and a green tick.
QIcon ApplicationIcon();
// The application icon with a badge label painted on it (white text on a red rounded rectangle).
QIcon BadgedApplicationIcon(const QString& label);
// The Qt standard icon nearest to a symbol image name; a null icon for names without one.
QIcon SymbolIcon(const std::string& name);

}  // namespace corvane::platform
