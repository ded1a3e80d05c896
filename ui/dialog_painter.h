#pragma once

#include "toolkit/canvas.h"

// The main window's background: a vertical gradient with two etched lines.
namespace dialog_painter {

inline constexpr int kGradientRows = 371;
inline constexpr Color kEtchColor = Rgb(140, 140, 140);
inline constexpr Color kEtchHighlight = Rgb(255, 255, 255);

Color GradientRow(int y);
// Paints over the client area of width `clientWidth`, in client coordinates.
void PaintBackground(Canvas& canvas, int clientWidth);
// An etched frame around `rect` (a group box), leaving its inside as it was: a grey line with a
// white one inside it along the top and left, and the other way round along the bottom and right.
void PaintEtchedFrame(Canvas& canvas, const Rect& rect);

}  // namespace dialog_painter
