#include "platform/qt/qt_app_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/qt_program_ids.h"

namespace corvane::platform {

void AddApplicationMenu(QMenuBar* bar) {
    QMenu* menu = bar->addMenu(QStringLiteral("Corvane"));
    QAction* about = menu->addAction(QStringLiteral("About Corvane"));
    about->setMenuRole(QAction::NoRole);
    QObject::connect(about, &QAction::triggered, [] { PostProgramMenuEvent(TheProgramIds().aboutItem); });
    menu->addSeparator();
    QAction* quit = menu->addAction(QStringLiteral("Quit Corvane"));
    quit->setMenuRole(QAction::NoRole);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(quit, &QAction::triggered, [] { PostProgramMenuEvent(TheProgramIds().quitItem); });
}

}  // namespace corvane::platform
