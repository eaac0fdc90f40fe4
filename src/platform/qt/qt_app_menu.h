// The application's "Corvane" menu: About and Quit, each reported as a menu event.
#pragma once

class QMenuBar;

namespace corvane::platform {

void AddApplicationMenu(QMenuBar* bar);

}  // namespace corvane::platform
