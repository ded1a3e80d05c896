#pragma once

#include <windows.h>

// Asks the desktop window manager to keep a window's corners square. Windows 11 rounds the
// corners of menus and pop-ups, which would cut the toolkit's flat frame; earlier systems know no
// such rounding and ignore the request.
void KeepCornersSquare(HWND window);
