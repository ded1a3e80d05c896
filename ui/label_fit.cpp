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

Rect GrowLeftToText(const Rect& label, int textWidth, std::span<const Rect> others) {
    if (textWidth <= label.Width()) return label;
    int limit = 0;
    for (const Rect& other : others) {
        const bool sharesRows = other.top < label.bottom && other.bottom > label.top;
        if (sharesRows && other.right < label.right) limit = std::max(limit, other.right + 1);
    }
    Rect grown = label;
    grown.left = std::min(label.left, std::max(label.right - textWidth, limit));
    return grown;
}

Rect HeightenToLine(const Rect& label, TextLine line, std::span<const Rect> others,
                    int clientHeight) {
    const int needed = std::max(line.height, line.underlineBottom);
    if (needed <= label.Height()) return label;
    int limit = clientHeight;
    for (const Rect& other : others) {
        const bool sharesColumns = other.left < label.right && other.right > label.left;
        if (sharesColumns && other.top > label.top) limit = std::min(limit, other.top);
    }
    Rect heightened = label;
    heightened.bottom = std::max(label.bottom, std::min(label.top + needed, limit));
    return heightened;
}

Rect FitToText(const Rect& label, int textWidth, TextLine line, std::span<const Rect> others,
               Size client) {
    if (label.Height() >= 2 * line.height) return label;
    const Rect widened = WidenToText(label, textWidth, others, client.width);
    return HeightenToLine(GrowLeftToText(widened, textWidth, others), line, others, client.height);
}

}  // namespace layout
