#pragma once

#include <windows.h>

// A new bitmap, compatible with the screen and as large as `area` (screen coordinates), holding a
// copy of what the screen shows there; the caller owns it. Null when the screen's context, a
// memory context or the bitmap cannot be had.
[[nodiscard]] HBITMAP GetScreenBitmap(const RECT& area);
