#pragma once

#include "toolkit/canvas.h"

// How far apart two colours are to the eye: the ratio of their relative luminances as WCAG 2
// defines it, from 1 (the same) to 21 (black and white). Text needs 4.5 against its background,
// a disabled label or a line 3.
inline constexpr double kTextContrast = 4.5;
inline constexpr double kDimContrast = 3.0;
// A coloured text the look moves aims higher: the thin strokes of small anti-aliased text come out
// about a tenth lighter than their colour, and must still reach kTextContrast.
inline constexpr double kMovedTextContrast = 5.5;

double ContrastRatio(Color a, Color b);

// `color` as it is when it stands `ratio` apart from `against`; otherwise moved, hue kept, towards
// black or white (whichever lies further from `against`) until it does, or to the end.
Color WithContrast(Color color, Color against, double ratio);
// The same against two backgrounds at once, such as both ends of a gradient.
Color WithContrast(Color color, Color one, Color other, double ratio);
