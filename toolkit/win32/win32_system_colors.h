#pragma once

#include <windows.h>

#include "toolkit/flat_look.h"
#include "toolkit/system_colors.h"

// The user's colour scheme now, from GetSysColor and the high-contrast setting.
inline SystemColors Win32SystemColors() {
    SystemColors colors;
    colors.buttonFace = GetSysColor(COLOR_BTNFACE);
    colors.highlight = GetSysColor(COLOR_HIGHLIGHT);
    colors.darkShadow = GetSysColor(COLOR_3DDKSHADOW);
    colors.menuText = GetSysColor(COLOR_MENUTEXT);
    colors.buttonShadow = GetSysColor(COLOR_BTNSHADOW);
    colors.buttonText = GetSysColor(COLOR_BTNTEXT);
    colors.grayText = GetSysColor(COLOR_GRAYTEXT);
    colors.window = GetSysColor(COLOR_WINDOW);
    colors.windowText = GetSysColor(COLOR_WINDOWTEXT);
    colors.menu = GetSysColor(COLOR_MENU);
    colors.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    colors.link = GetSysColor(COLOR_HOTLIGHT);
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    colors.highContrast =
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    return colors;
}

inline FlatLook Win32FlatLook() { return ChooseFlatLook(Win32SystemColors()); }
