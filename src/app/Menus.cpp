#include "app/Menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vidora {

namespace {

// One menu entry; an entry without a name is a separator.
struct MenuEntry {
    const char* name;
    const char* caption;
    const char* shortcut;
};

struct MenuTable {
    const char* title;
    std::initializer_list<MenuEntry> entries;
};

const MenuEntry kSeparator{nullptr, nullptr, nullptr};

const MenuTable kMainMenus[] = {
    {"File(&F)",
     {{"AddFiles", "Add Files", "Ctrl+A"},
      {"RemoveSelectedFile", "Remove Selected File", "Ctrl+R"},
      {"ClearAllFiles", "Clear All Files", "Ctrl+C"},
      kSeparator,
      {"Capture", "Capture Video From DV", nullptr},
      kSeparator,
      {"importvideo", "Import Video From Youtube", nullptr},
      kSeparator,
      {"exit", "Exit", "Ctrl+X"}}},
    {"Edit(&E)",
     {{"undo", "Undo", "Ctrl+Z"},
      kSeparator,
      {"options", "Video Settings", "Ctrl+S"},
      kSeparator,
      {"checkupdate", "Check for Updates", nullptr}}},
    {"Action(&A)",
     {{"BurnNow", "Convert Now!", "Ctrl+N"},
      kSeparator,
      {"play", "Play Selected File", "Ctrl+P"},
      kSeparator,
      {"videoclip", "Video Clip", "Ctrl+V"}}},
    {"Help(&H)",
     {{"helphelp", "Help", "F1"},
      kSeparator,
      {"HomePage", "Vidora Home Page", "Ctrl+H"},
      {"SupportOnline", "Support Online", "Ctrl+T"},
      kSeparator,
      {"About", "About", nullptr}}},
};

const std::initializer_list<MenuEntry> kJobListMenu = {
    {"convertnow1", "Convert Now!", nullptr},
    kSeparator,
    {"PlaySelectedFile", "Play Selected File", nullptr},
    kSeparator,
    {"cuttime", "Video Clip", nullptr},
    kSeparator,
    {"AddFiless", "Add Files", nullptr},
    {"RemoveSelectedItem", "Remove Selected Item", nullptr},
    {"ClearAllItems", "Clear All Items", nullptr},
    kSeparator,
    {"Capture1", "Capture Video From DV", nullptr},
    kSeparator,
    {"Import1", "Import Video From Youtube", nullptr},
};

void fill(QMenu* menu, std::initializer_list<MenuEntry> entries, Actions& actions) {
    for (const MenuEntry& entry : entries) {
        if (!entry.name) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromLatin1(entry.caption));
        action->setObjectName(QString::fromLatin1(entry.name));
        if (entry.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        actions.insert(action->objectName(), action);
    }
}

} // namespace

Actions buildMainMenus(QMenuBar* bar) {
    Actions actions;
    for (const MenuTable& table : kMainMenus)
        fill(bar->addMenu(QString::fromLatin1(table.title)), table.entries, actions);
    return actions;
}

Actions buildJobListMenu(QMenu* menu) {
    menu->setObjectName(QStringLiteral("popupmenu1"));
    Actions actions;
    fill(menu, kJobListMenu, actions);
    return actions;
}

} // namespace vidora
