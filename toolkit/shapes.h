#pragma once

#include "toolkit/canvas.h"

// Outlined and filled shapes as GDI draws them with a one-pixel pen and a brush, built from whole
// pixel rows so that every canvas shows the same pixels. The pen takes the shape's outermost
// pixels: those of the shape with a neighbour above, below, left or right outside it. The brush
// fills the rest; kNoColor as the brush leaves the inside as it was.
//
// Ellipses and round rectangles are made of device pixels: on a canvas of density d, the shape d
// times as large, with a pen d pixels deep (a pixel of it lies within d pixels of the outside, up,
// down, left or right), so that curves are as fine as the screen and the pen keeps its weight.
namespace shapes {

// Rectangle(): the outline runs along the first and last row and column of `rect`.
void Rectangle(Canvas& canvas, const Rect& rect, Color pen, Color brush = kNoColor);

// Ellipse(): the pixels whose centres lie inside the ellipse that `rect` bounds (on the ellipse
// counts as inside). A 7 x 7 ellipse has rows of 3, 5, 7, 7, 7, 5 and 3 pixels.
void Ellipse(Canvas& canvas, const Rect& rect, Color pen, Color brush = kNoColor);

// RoundRect(): `rect` with each corner cut by a quarter of the ellipse of size `corner`, as the
// pixel rows of Ellipse() give them. With a 10 x 10 corner the outline's first rows start 3, 1,
// 1, 0 and 0 pixels in from the side.
void RoundRect(Canvas& canvas, const Rect& rect, Size corner, Color pen, Color brush = kNoColor);

// FocusRect(): the dotted outline that marks the keyboard focus: every other pixel of the first
// and last row and column of `rect`, from its top-left pixel on.
void FocusRect(Canvas& canvas, const Rect& rect, Color color);

// The pixels of row `row` (0 at the top) of an ellipse `width` wide and `height` high: from
// `first` up to `last` (outside), relative to its left edge; first == last for an empty row.
struct Span {
    int first = 0;
    int last = 0;
};
Span EllipseRow(int width, int height, int row);

}  // namespace shapes
