#include "ui/window_placement.h"

#include <algorithm>

Point CentredOrigin(const Rect& area, Size window) {
    return {std::max(area.left, area.left + (area.Width() - window.width) / 2),
            std::max(area.top, area.top + (area.Height() - window.height) / 2)};
}
