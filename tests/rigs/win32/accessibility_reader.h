#pragma once

#include <windows.h>

// What a screen reader reads of the program's windows through Active Accessibility (oleacc),
// printed one line each, for the rig driver.
namespace accessibility_reader {

// "children N" for the window's client object (AccessibleChildren), then for each child window
// in window order "id|role|name|state" of its client object: the role's text, the state in hex.
int PrintControls(HWND window);
// "role|name" of each child of the window's menu bar object (OBJID_MENU), as oleacc gives it.
int PrintMenuBar(HWND window);
// For each item of the window's menu bar, or with `popup` >= 0 of that pop-up of it: the text of
// the MSAAMENUINFO that its item data points to, read from the program's memory as the system's
// menu proxy reads it, and whether the menu checks it: "text|checked".
int PrintMenuTexts(HWND window, int popup);

}  // namespace accessibility_reader
