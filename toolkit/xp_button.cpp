#include "toolkit/xp_button.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "toolkit/owner_draw.h"
#include "toolkit/shapes.h"

namespace {

constexpr int kGradientSteps = 64;

std::uint8_t Fade(int index, int divisor) {
    return static_cast<std::uint8_t>(255 - index / divisor);
}

// A pen line of the frame, from `from` towards `to` with the end left out, `width` wide: a pen of
// odd width takes as many rows (or columns) on either side of the line, one of even width one more
// on the upper (or left) side. Ends are cut square.
void FrameLine(Canvas& canvas, Point from, Point to, FramePen pen) {
    const int before = pen.width / 2;
    const int after = (pen.width - 1) / 2;
    if (from.x == to.x) {
        const int top = std::min(from.y, to.y) + (to.y < from.y ? 1 : 0);
        const int bottom = std::max(from.y, to.y) + (to.y < from.y ? 1 : 0);
        canvas.FillSolidRect({from.x - before, top, from.x + after + 1, bottom}, pen.color);
    } else {
        const int left = std::min(from.x, to.x) + (to.x < from.x ? 1 : 0);
        const int right = std::max(from.x, to.x) + (to.x < from.x ? 1 : 0);
        canvas.FillSolidRect({left, from.y - before, right, from.y + after + 1}, pen.color);
    }
}

}  // namespace

void CXPButton::OnMouseMove(const std::function<bool()>& track) {
    if (!m_tracking) m_tracking = track();
}

CXPButton::Repaint CXPButton::OnMouseLeave() {
    m_tracking = false;
    m_hover = false;
    return Repaint::kWithoutErasing;
}

CXPButton::Repaint CXPButton::OnMouseHover() {
    m_hover = true;
    return Repaint::kErasing;
}

Color CXPButton::GradientColor(int index, bool hover, bool emphasised) {
    const int i = std::clamp(index, 0, kGradientSteps - 1);
    if (!hover) {
        return emphasised ? Rgb(Fade(i, 3), Fade(i, 3), Fade(i, 4))
                          : Rgb(Fade(i, 3), Fade(i, 3), Fade(i, 5));
    }
    return emphasised ? Rgb(Fade(i, 4), Fade(i, 4), Fade(i, 3))
                      : Rgb(Fade(i, 4), Fade(i, 4), Fade(i, 5));
}

void CXPButton::DrawItem(Canvas& canvas, const Rect& item, unsigned state, std::string_view label,
                         Size edge) {
    canvas.FillSolidRect(item, m_look.ground);
    shapes::RoundRect(canvas, item, kCorner, m_look.outline, m_look.inside);

    m_focused = m_emphasised = (state & ods::kFocus) != 0;
    if (state & (ods::kSelected | ods::kDefault)) m_emphasised = true;
    const bool pressed = (state & ods::kSelected) != 0;

    const Rect f{item.left + edge.width, item.top + edge.height, item.right - edge.width,
                 item.bottom - edge.height};

    // The gradient's rows count from the client area's top, and run one row past the face; rows
    // past the last of the 64 colours keep the last.
    const int w = f.Width();
    const int h = f.Height();
    for (int y = f.top; y < h + 3; ++y) {
        const Color c = m_look.Row((63 * y) / (h + 1), m_hover, m_emphasised);
        canvas.FillSolidRect({f.left, y, w + 2, y + 1}, c);
    }

    if (m_focused || m_hover) {
        const Frame& frame = m_hover ? m_look.hover : m_look.focus;
        FrameLine(canvas, {f.left, f.bottom - 3}, {f.left, f.top + 2}, frame.left);
        FrameLine(canvas, {f.right - 1, f.bottom - 3}, {f.right - 1, f.top + 2}, frame.right);
        FrameLine(canvas, {f.left + 2, f.top}, {f.right - 2, f.top}, frame.top);
        FrameLine(canvas, {f.left + 2, f.bottom}, {f.right - 2, f.bottom}, frame.bottom);
    }

    if (label.empty()) return;
    // Centred on the face by its extent in the font it is drawn in; pressed, a pixel right and
    // down.
    const CanvasFont previous = canvas.GetFont();
    canvas.SetFont({FontFace::kGui, kWeightNormal});
    const Size extent = canvas.GetTextExtent(label);
    int x = f.left + (f.Width() - extent.width) / 2;
    int y = f.top + (f.Height() - extent.height) / 2;
    if (pressed) {
        ++x;
        ++y;
    }
    if (state & ods::kDisabled) {
        if (m_look.emboss != kNoColor) canvas.DrawTextAt({x + 1, y + 1}, label, m_look.emboss);
        canvas.DrawTextAt({x, y}, label, m_look.disabledLabel);
    } else {
        canvas.DrawTextAt({x, y}, label, m_look.label);
    }
    canvas.SetFont(previous);
}
