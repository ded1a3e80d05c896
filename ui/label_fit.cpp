#include "ui/label_fit.h"

#include <algorithm>

namespace layout {

Rect WidenToText(const Rect& label, int textWidth, std::span<const Rect> others, int clientWidth) {
    if (textWidth <= label.Width()) return label;
    int limit = clientWidth;
    for (const Rect& other : others) {
        const bool sharesRows = other.top < label.bottom && other.bottom > label.top;
        if (sharesRows && other.left > label.left) limit = std::min(limit, other.left - 1);
    }
    Rect widened = label;
    widened.right = std::max(label.right, std::min(label.left + textWidth, limit));
    return widened;
}

}  // namespace layout
