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

}  // namespace dialog_painter
