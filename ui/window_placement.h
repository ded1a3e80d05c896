#pragma once

#include "toolkit/canvas.h"

// Where a window of `window` size goes to be centred in `area` (a screen's work area), as a
// dialog centres itself: a window larger than the area keeps its top-left corner inside it.
Point CentredOrigin(const Rect& area, Size window);
