#include "ui/dialog_painter.h"

namespace dialog_painter {
namespace {

struct EtchedLine {
    int fromX;
    int toX;
    int y;
};
// Just right of the section labels, in pixels of the dialog's 9-point layout.
constexpr EtchedLine kLines[] = {{80, 350, 205}, {155, 349, 274}};

}  // namespace

Color GradientRow(int y) {
    return Rgb(static_cast<std::uint8_t>(244 - 24 * y / kGradientRows),
               static_cast<std::uint8_t>(243 - 28 * y / kGradientRows),
               static_cast<std::uint8_t>(238 - 54 * y / kGradientRows));
}

void PaintBackground(Canvas& canvas, int clientWidth) {
    for (int y = 0; y < kGradientRows; ++y) {
        canvas.FillSolidRect({0, y, clientWidth, y + 1}, GradientRow(y));
    }
    for (const EtchedLine& line : kLines) {
        canvas.DrawLine({line.fromX, line.y}, {line.toX, line.y}, kEtchColor);
        canvas.DrawLine({line.fromX, line.y + 1}, {line.toX, line.y + 1}, kEtchHighlight);
    }
}

void PaintEtchedFrame(Canvas& canvas, const Rect& r) {
    if (r.Width() < 4 || r.Height() < 4) return;
    const auto hline = [&](int x0, int x1, int y, Color c) {
        canvas.FillSolidRect({x0, y, x1, y + 1}, c);
    };
    const auto vline = [&](int x, int y0, int y1, Color c) {
        canvas.FillSolidRect({x, y0, x + 1, y1}, c);
    };
    hline(r.left, r.right - 1, r.top, kEtchColor);
    vline(r.left, r.top, r.bottom - 1, kEtchColor);
    hline(r.left + 1, r.right - 2, r.top + 1, kEtchHighlight);
    vline(r.left + 1, r.top + 1, r.bottom - 2, kEtchHighlight);
    hline(r.left + 1, r.right - 1, r.bottom - 2, kEtchColor);
    vline(r.right - 2, r.top + 1, r.bottom - 1, kEtchColor);
    hline(r.left, r.right, r.bottom - 1, kEtchHighlight);
    vline(r.right - 1, r.top, r.bottom, kEtchHighlight);
}

}  // namespace dialog_painter
