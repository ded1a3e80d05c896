#include "toolkit/win32/win32_menu_access.h"

#include <string>

#include "base/win32/wide_text.h"
#include "toolkit/win32/accessible_menu_items.h"

int Win32MenuAccess::GetItemCount(MenuHandle menu) {
    if (!menu) return 0;
    const int count = GetMenuItemCount(Menu(menu));
    return count < 0 ? 0 : count;
}

bool Win32MenuAccess::ReadItem(MenuHandle menu, unsigned item, bool byPosition, MenuItemInfo& info,
                               std::string* text) {
    wchar_t buffer[256] = {};
    MENUITEMINFOW record{};
    record.cbSize = sizeof record;
    record.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    if (text) {
        record.fMask |= MIIM_STRING;
        record.dwTypeData = buffer;
        record.cch = 255;
    }
    if (!GetMenuItemInfoW(Menu(menu), item, byPosition ? TRUE : FALSE, &record)) return false;
    info.fType = record.fType;
    info.fState = record.fState;
    info.wID = record.wID;
    info.hSubMenu = Handle(record.hSubMenu);
    info.dwItemData = accessible_menu_items::Measures(record.dwItemData);
    if (text) {
        // A bitmap or separator item has no string: the buffer stays empty.
        *text = (record.fType & (MFT_BITMAP | MFT_SEPARATOR)) ? std::string() : Narrow(buffer);
        if (text->size() > 255) text->resize(255);
    }
    return true;
}

bool Win32MenuAccess::WriteItem(MenuHandle menu, unsigned position, const MenuItemInfo& info,
                                bool withData) {
    MENUITEMINFOW record{};
    record.cbSize = sizeof record;
    record.fMask = MIIM_FTYPE | (withData ? MIIM_DATA : 0u);
    record.fType = info.fType;
    if (withData)
        record.dwItemData = accessible_menu_items::Store(Menu(menu), position, info.dwItemData);
    return SetMenuItemInfoW(Menu(menu), position, TRUE, &record) != FALSE;
}

bool Win32MenuAccess::IsMenu(MenuHandle menu) { return menu && ::IsMenu(Menu(menu)); }
