#pragma once

#include <windows.h>

#include "toolkit/menu_access.h"

// Windows menus as the menu toolkit reads them: a handle is the HMENU, items are read and changed
// with GetMenuItemInfoW and SetMenuItemInfoW, texts turned into UTF-8.
class Win32MenuAccess final : public MenuAccess {
public:
    static MenuHandle Handle(HMENU menu) { return reinterpret_cast<MenuHandle>(menu); }
    static HMENU Menu(MenuHandle handle) { return reinterpret_cast<HMENU>(handle); }

    int GetItemCount(MenuHandle menu) override;
    [[nodiscard]] bool ReadItem(MenuHandle menu, unsigned item, bool byPosition, MenuItemInfo& info,
                                std::string* text) override;
    // Sets the type alone (MIIM_FTYPE), so that the item keeps its string beside the toolkit's
    // copy, and with `withData` the item data: a record that screen readers read the item's
    // text from, holding the toolkit's measures (accessible_menu_items.h). ReadItem gives back
    // the measures.
    [[nodiscard]] bool WriteItem(MenuHandle menu, unsigned position, const MenuItemInfo& info,
                                 bool withData) override;
    bool IsMenu(MenuHandle menu) override;
};
