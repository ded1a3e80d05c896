#pragma once

#include <array>

#include "toolkit/canvas.h"
#include "toolkit/flat_look.h"
#include "ui/dialog_scale.h"

// The main window's background: a vertical gradient with two etched lines.
namespace dialog_painter {

inline constexpr int kGradientRows = 371;
inline constexpr Color kEtchColor = WindowLook::kLightEtch;
inline constexpr Color kEtchHighlight = WindowLook::kLightEtchHighlight;

// A grey line from (fromX, y) to just before (toX, y), with a white one a row below it.
struct EtchedLine {
    int fromX = 0;
    int toX = 0;
    int y = 0;
    // The pixels both lines cover.
    Rect Covered() const { return {fromX, y, toX, y + 2}; }
};
// The right edges of the two section labels, sound settings and sound test, in the window.
using SectionLabelRights = std::array<int, 2>;
// The lines just right of the two section labels, placed for the window's font; none starts left
// of its label's right edge in `labels` (where the window system's rounding of the labels' left
// edges and widths puts it a pixel further right than the scaled line).
std::array<EtchedLine, 2> EtchedLines(const DialogScale& scale, SectionLabelRights labels = {});

// Row `y` of the light palette's gradient, `rows` rows high.
Color GradientRow(int y, int rows = kGradientRows);
// Paints over the client area of width `clientWidth`, in client coordinates; the gradient's height
// and the lines' places follow the dialog font through `scale`. The caller has filled the area
// with the look's ground, which shows below the gradient (and everywhere without one).
void PaintBackground(Canvas& canvas, int clientWidth, const DialogScale& scale = DialogScale(),
                     SectionLabelRights labels = {}, const WindowLook& look = LightWindowLook());
// An etched frame around `rect` (a group box), leaving its inside as it was: a grey line with a
// white one inside it along the top and left, and the other way round along the bottom and right.
void PaintEtchedFrame(Canvas& canvas, const Rect& rect, const WindowLook& look = LightWindowLook());

}  // namespace dialog_painter
