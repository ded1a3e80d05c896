#include "toolkit/win32/win32_menu_xp.h"

#include "toolkit/menu_xp.h"
#include "toolkit/owner_draw.h"
#include "toolkit/win32/accessible_menu_items.h"
#include "toolkit/win32/buffer_dc.h"
#include "toolkit/win32/dc_selectors.h"
#include "toolkit/win32/toolbar_command_images.h"
#include "toolkit/win32/win32_canvas.h"
#include "toolkit/win32/win32_menu_access.h"
#include "toolkit/win32/win32_system_colors.h"

namespace {

bool IsDialog(HWND window) {
    wchar_t name[8] = {};
    return GetClassNameW(window, name, 8) == 6 && lstrcmpW(name, L"#32770") == 0;
}

// Whether the user wants mnemonics underlined always.
bool KeyboardCues() {
    BOOL cues = TRUE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0);
    return cues != FALSE;
}

}  // namespace

void Win32MenuXP::EnableOwnerDraw(HWND window, bool enable) {
    if (!window) return;
    if (enable) {
        SetPropW(window, kEnableProperty, reinterpret_cast<HANDLE>(1));
    } else {
        RemovePropW(window, kEnableProperty);
    }
}

bool Win32MenuXP::IsOwnerDrawEnabled(HWND window) {
    return window && GetPropW(window, kEnableProperty) != nullptr;
}

void Win32MenuXP::ConvertMenuBar(HWND window) {
    if (!IsOwnerDrawEnabled(window)) return;
    if (HMENU menu = GetMenu(window)) ConvertMenu(window, menu, true, true);
}

void Win32MenuXP::ConvertMenu(HWND owner, HMENU menu, bool enabled, bool menuBar) {
    if (!enabled) return;
    // Measured in the dialog font on the owner's context (the screen's without an owner).
    HDC dc = GetDC(owner);
    {
        const CFontDC font(dc, DEFAULT_GUI_FONT);
        Win32Canvas canvas(dc);
        Win32MenuAccess menus;
        const ToolbarCommandImages images(owner);
        CMenuXP::ConvertMenu(menus, Win32MenuAccess::Handle(menu), enabled, menuBar, canvas,
                             &images);
    }
    ReleaseDC(owner, dc);
}

void Win32MenuXP::MeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU) return;
    const Size size = CMenuXP::MeasureItem(accessible_menu_items::Measures(item.itemData));
    item.itemWidth = static_cast<UINT>(size.width);
    item.itemHeight = static_cast<UINT>(size.height);
}

bool Win32MenuXP::DrawItem(const DRAWITEMSTRUCT& item, HWND owner) {
    if (item.CtlType != ODT_MENU) return false;
    HMENU menu = reinterpret_cast<HMENU>(item.hwndItem);
    DrawItemRecord record;
    record.ctlType = item.CtlType;
    record.itemID = item.itemID;
    record.itemState = item.itemState;
    record.menu = Win32MenuAccess::Handle(menu);
    record.rcItem = {item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
    record.itemData = accessible_menu_items::Measures(item.itemData);
    bool open = false;
    bool painted = false;
    {
        CBufferDC buffer(item.hDC, item.rcItem);
        const CFontDC font(buffer, DEFAULT_GUI_FONT);
        Win32Canvas canvas(buffer);
        Win32MenuAccess menus;
        painted =
            CMenuXP::DrawItem(record, menus, canvas, Win32SystemColors(), KeyboardCues(), &open);
    }
    if (open) {
        // The item's tab was stored in the owner's client coordinates; the pop-up's frame wants
        // it on the screen, as high as the menu bar's items.
        POINT origin{0, 0};
        ClientToScreen(owner, &origin);
        RECT first{};
        GetMenuItemRect(owner, menu, 0, &first);
        CMenuXP::PlaceMenuBarItem({origin.x, origin.y},
                                  {first.left, first.top, first.right, first.bottom},
                                  IsDialog(owner));
    }
    return painted;
}

bool Win32MenuXP::IsOwnerDrawnMenu(HMENU menu) {
    Win32MenuAccess menus;
    return CMenuXP::IsOwnerDrawnMenu(menus, Win32MenuAccess::Handle(menu));
}

std::uint32_t Win32MenuXP::FindMnemonic(HMENU menu, UINT character, UINT flags) {
    Win32MenuAccess menus;
    return CMenuXP::FindMnemonic(menus, Win32MenuAccess::Handle(menu), character, flags);
}

bool Win32MenuXP::HandleMenuMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result) {
    switch (message) {
        case WM_INITMENUPOPUP:
            ConvertMenu(owner, reinterpret_cast<HMENU>(wParam), IsOwnerDrawEnabled(owner), false);
            return false;
        case WM_MEASUREITEM: {
            auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item.CtlType != ODT_MENU) return false;
            MeasureItem(item);
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM:
            if (!DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), owner)) return false;
            result = TRUE;
            return true;
        case WM_MENUCHAR: {
            HMENU menu = reinterpret_cast<HMENU>(lParam);
            if (!IsOwnerDrawnMenu(menu)) return false;
            result = static_cast<LRESULT>(FindMnemonic(menu, LOWORD(wParam), HIWORD(wParam)));
            return true;
        }
        default:
            return false;
    }
}
