#pragma once

#include <windows.h>

// The density a window is drawn at, in dots per inch: its monitor's for a program aware of each
// monitor's density (Windows 10 1607 and later), else the screen's.
int WindowDpi(HWND window);
