#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace vidora {

// The window's actions by their item names ("AddFiles", "BurnNow", "convertnow1", ...).
using Actions = QHash<QString, QAction*>;

// Fills the menu bar with the main window's four menus and returns their actions.
Actions buildMainMenus(QMenuBar* bar);

// Fills the job list's context menu `popupmenu1` and returns its actions.
Actions buildJobListMenu(QMenu* menu);

} // namespace vidora
