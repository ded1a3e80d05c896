#pragma once

#include <span>

#include "toolkit/canvas.h"

namespace layout {

// A label whose text, `textWidth` pixels on one line, is wider than the label: widened to the
// right to hold it, as far as the client area's right edge `clientWidth` and a pixel short of the
// nearest of `others` (the window's other controls) that shares its rows to its right allow.
// A label that holds its text, or cannot grow, keeps its rectangle; none is made narrower.
Rect WidenToText(const Rect& label, int textWidth, std::span<const Rect> others, int clientWidth);

// A label still narrower than its text, held on its right: grown to the left to hold it, as far
// as the client area's left edge and a pixel short of the nearest of `others` that shares its rows
// to its left allow. Its right edge stays.
Rect GrowLeftToText(const Rect& label, int textWidth, std::span<const Rect> others);

// One line of a label's font: its height (ascent and descent), and how far below the line's top
// the underline's lowest row ends.
struct TextLine {
    int height = 0;
    int underlineBottom = 0;
};

// A label lower than one line of its font, underline included: made taller downwards to hold it,
// as far as the client area's bottom edge `clientHeight` and the top of the nearest of `others`
// that shares its columns below it allow. Its top-left corner stays; none is made lower.
Rect HeightenToLine(const Rect& label, TextLine line, std::span<const Rect> others,
                    int clientHeight);

// All three: the label widened to its text, to the right and where that is not enough to the
// left, then made tall enough for its line. A label with room for
// two lines or more wraps its text and keeps its rectangle.
Rect FitToText(const Rect& label, int textWidth, TextLine line, std::span<const Rect> others,
               Size client);

}  // namespace layout
