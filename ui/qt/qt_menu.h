#pragma once

#include <QMenu>
#include <functional>
#include <optional>

struct MenuPopup;

// Qt menus made from the program's menu model, for the menu bar and the tray icon alike.
namespace qt_menu {

// Adds the items of `popup` to `menu`; each action keeps its command in its data. Choosing an item
// calls `run` with its command, queued, so that the menu has closed before a handler opens a box
// of its own. The item of `defaultCommand`, if any, becomes the menu's default (shown in bold).
void Fill(QMenu& menu, const MenuPopup& popup, std::function<void(int)> run,
          int defaultCommand = 0);

// Gives the items the check marks that `checks` decides; items it leaves undecided stay as they
// are.
void UpdateChecks(QMenu& menu, const std::function<std::optional<bool>(int)>& checks);

}  // namespace qt_menu
