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

}  // namespace dialog_painter
