#pragma once

#include <windows.h>

#include "toolkit/system_colors.h"

// The user's colour scheme now, from GetSysColor.
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
    return colors;
}
