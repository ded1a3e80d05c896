#pragma once

#include <windows.h>

#include "toolkit/canvas.h"

// A RECT and the core's rectangle both end before their right and bottom.
inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
