#pragma once

#include <QPoint>
#include <QRect>

#include "toolkit/canvas.h"

// The core's rectangles end before their right and bottom; a QRect's right() and bottom() are its
// last pixel's.
inline QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

inline Rect FromQRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

inline QPoint ToQPoint(Point p) { return QPoint(p.x, p.y); }
