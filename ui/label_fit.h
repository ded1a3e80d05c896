#pragma once

#include <span>

#include "toolkit/canvas.h"

namespace layout {

// A label whose text, `textWidth` pixels on one line, is wider than the label: widened to the
// right to hold it, as far as the client area's right edge `clientWidth` and a pixel short of the
// nearest of `others` (the window's other controls) that shares its rows to its right allow.
// A label that holds its text, or cannot grow, keeps its rectangle; none is made narrower.
Rect WidenToText(const Rect& label, int textWidth, std::span<const Rect> others, int clientWidth);

}  // namespace layout
