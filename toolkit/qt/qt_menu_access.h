#pragma once

#include "toolkit/menu_access.h"

class QAction;
class QWidget;

// Qt menus and menu bars as the menu toolkit reads them: a handle is the widget, its items are its
// actions. An action's command is its data; the toolkit's type bits and item data are kept on the
// action beside Qt's own state. Only widgets made known with Register count as menus.
class QtMenuAccess final : public MenuAccess {
public:
    static MenuHandle Handle(const QWidget* menu);
    // Counts `menu` as a menu until it is destroyed.
    static void Register(QWidget* menu);
    // The command of an action as the toolkit finds items by command: its data, or for an action
    // that opens a pop-up the low 32 bits of the pop-up's handle.
    static unsigned Command(const QAction* action);
    // The toolkit's item data of an action (0 before its menu was converted).
    static std::uint32_t ItemData(const QAction* action);

    int GetItemCount(MenuHandle menu) override;
    [[nodiscard]] bool ReadItem(MenuHandle menu, unsigned item, bool byPosition, MenuItemInfo& info,
                                std::string* text) override;
    [[nodiscard]] bool WriteItem(MenuHandle menu, unsigned position, const MenuItemInfo& info,
                                 bool withData) override;
    bool IsMenu(MenuHandle menu) override;
};
