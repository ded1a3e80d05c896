#pragma once

#include <windows.h>

#include "toolkit/canvas.h"

// Gives `window` the rectangular region `region` (window coordinates), redrawn. A region equal to
// the one the window has is left alone: setting it again would repaint the window, and a window
// that sets its region while painting would then paint for ever.
void SetRectWindowRegion(HWND window, const Rect& region);

// The outer size of the window in pixels.
Size WindowSize(HWND window);
