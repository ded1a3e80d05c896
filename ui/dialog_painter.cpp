#include "ui/dialog_painter.h"

#include <algorithm>

namespace dialog_painter {
namespace {

// Just right of the section labels, in pixels of the 9-point layout.
constexpr std::array<EtchedLine, 2> kLines{{{80, 350, 205}, {155, 349, 274}}};

}  // namespace

std::array<EtchedLine, 2> EtchedLines(const DialogScale& scale, SectionLabelRights labels) {
    std::array<EtchedLine, 2> lines{};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i] = {std::max(scale.X(kLines[i].fromX), labels[i]), scale.X(kLines[i].toX),
                    scale.Y(kLines[i].y)};
    }
    return lines;
}

Color GradientRow(int y, int rows) { return LightWindowLook().Row(y, rows); }

void PaintBackground(Canvas& canvas, int clientWidth, const DialogScale& scale,
                     SectionLabelRights labels, const WindowLook& look) {
    const int rows = look.gradient ? scale.Y(kGradientRows) : 0;
    for (int y = 0; y < rows; ++y) {
        canvas.FillSolidRect({0, y, clientWidth, y + 1}, look.Row(y, rows));
    }
    for (const EtchedLine& line : EtchedLines(scale, labels)) {
        canvas.DrawLine({line.fromX, line.y}, {line.toX, line.y}, look.etch);
        canvas.DrawLine({line.fromX, line.y + 1}, {line.toX, line.y + 1}, look.etchHighlight);
    }
}

void PaintEtchedFrame(Canvas& canvas, const Rect& r, const WindowLook& look) {
    if (r.Width() < 4 || r.Height() < 4) return;
    const auto hline = [&](int x0, int x1, int y, Color c) {
        canvas.FillSolidRect({x0, y, x1, y + 1}, c);
    };
    const auto vline = [&](int x, int y0, int y1, Color c) {
        canvas.FillSolidRect({x, y0, x + 1, y1}, c);
    };
    hline(r.left, r.right - 1, r.top, look.etch);
    vline(r.left, r.top, r.bottom - 1, look.etch);
    hline(r.left + 1, r.right - 2, r.top + 1, look.etchHighlight);
    vline(r.left + 1, r.top + 1, r.bottom - 2, look.etchHighlight);
    hline(r.left + 1, r.right - 1, r.bottom - 2, look.etch);
    vline(r.right - 2, r.top + 1, r.bottom - 1, look.etch);
    hline(r.left, r.right, r.bottom - 1, look.etchHighlight);
    vline(r.right - 1, r.top, r.bottom, look.etchHighlight);
}

}  // namespace dialog_painter
