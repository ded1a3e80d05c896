#pragma once

#include <windows.h>

#include <cstdint>

// The flat menus on Windows: a window takes part by carrying the property "XPWndProp_MenuXP";
// its menu bar and the pop-ups it opens become owner-drawn, measured and painted by the toolkit
// (CMenuXP), and its menu messages are answered here. An item whose command a button of the
// window's toolbars has too shows that button's image. The thread hook that gives the pop-up
// windows their frames and shadows lives in menu_window_hook.h.
class Win32MenuXP {
public:
    Win32MenuXP() = delete;

    static constexpr wchar_t kEnableProperty[] = L"XPWndProp_MenuXP";

    static void EnableOwnerDraw(HWND window, bool enable);
    static bool IsOwnerDrawEnabled(HWND window);
    // Converts the window's menu bar, if the window takes part and has one.
    static void ConvertMenuBar(HWND window);
    // Makes the items of `menu` owner-drawn and, for a pop-up, measures them again.
    static void ConvertMenu(HWND owner, HMENU menu, bool enabled, bool menuBar);
    static void MeasureItem(MEASUREITEMSTRUCT& item);
    // Paints a menu item off screen; false, painting nothing, for other controls.
    [[nodiscard]] static bool DrawItem(const DRAWITEMSTRUCT& item, HWND owner);
    static bool IsOwnerDrawnMenu(HMENU menu);
    // The answer to WM_MENUCHAR.
    static std::uint32_t FindMnemonic(HMENU menu, UINT character, UINT flags);

    // What an owner window does with a menu message, after its own handling: answers it (true,
    // with the result in `result`) or leaves it to the default handling (false).
    // WM_INITMENUPOPUP converts the pop-up and always leaves the default handling its turn.
    static bool HandleMenuMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result);
};
