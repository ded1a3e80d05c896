#include "toolkit/shapes.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace shapes {

namespace {

// Paints a shape given by one span per row, from `top` down, in device pixels: pen on its edge,
// `weight` pixels deep, brush inside.
void PaintRows(Canvas& canvas, int top, const std::vector<Span>& rows, int weight, Color pen,
               Color brush) {
    const int count = static_cast<int>(rows.size());
    for (int i = 0; i < count; ++i) {
        const Span row = rows[static_cast<std::size_t>(i)];
        if (row.first >= row.last) continue;
        const int y = top + i;
        // The inside of a row: `weight` in from its ends, and under and over `weight` rows of the
        // shape.
        int inFirst = row.first + weight;
        int inLast = row.last - weight;
        if (i < weight || i >= count - weight) {
            inLast = inFirst;
        } else {
            for (int k = 1; k <= weight; ++k) {
                const Span above = rows[static_cast<std::size_t>(i - k)];
                const Span below = rows[static_cast<std::size_t>(i + k)];
                inFirst = std::max({inFirst, above.first, below.first});
                inLast = std::min({inLast, above.last, below.last});
            }
        }
        if (inFirst >= inLast) {
            canvas.FillDeviceRect({row.first, y, row.last, y + 1}, pen);
            continue;
        }
        canvas.FillDeviceRect({row.first, y, inFirst, y + 1}, pen);
        if (brush != kNoColor) canvas.FillDeviceRect({inFirst, y, inLast, y + 1}, brush);
        canvas.FillDeviceRect({inLast, y, row.last, y + 1}, pen);
    }
}

Rect Scaled(const Rect& r, int factor) {
    return {r.left * factor, r.top * factor, r.right * factor, r.bottom * factor};
}

}  // namespace

Span EllipseRow(int width, int height, int row) {
    if (width <= 0 || height <= 0 || row < 0 || row >= height) return {};
    // A pixel centre (x + 1/2, row + 1/2) is inside when
    // (2x + 1 - w)^2 h^2 + (2 row + 1 - h)^2 w^2 <= w^2 h^2: whole numbers only.
    const std::int64_t w = width;
    const std::int64_t h = height;
    const std::int64_t dy = 2 * row + 1 - h;
    const std::int64_t room = w * w * h * h - dy * dy * w * w;
    for (int x = 0; x < (width + 1) / 2; ++x) {
        const std::int64_t dx = 2 * x + 1 - w;
        if (dx * dx * h * h <= room) return {x, width - x};
    }
    return {};
}

void Rectangle(Canvas& canvas, const Rect& r, Color pen, Color brush) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    canvas.FillSolidRect({r.left, r.top, r.right, r.top + 1}, pen);
    if (r.Height() == 1) return;
    canvas.FillSolidRect({r.left, r.bottom - 1, r.right, r.bottom}, pen);
    canvas.FillSolidRect({r.left, r.top + 1, r.left + 1, r.bottom - 1}, pen);
    if (r.Width() == 1) return;
    canvas.FillSolidRect({r.right - 1, r.top + 1, r.right, r.bottom - 1}, pen);
    if (brush != kNoColor)
        canvas.FillSolidRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, brush);
}

void Ellipse(Canvas& canvas, const Rect& logical, Color pen, Color brush) {
    const int density = canvas.Density();
    const Rect r = Scaled(logical, density);
    std::vector<Span> rows;
    for (int y = 0; y < r.Height(); ++y) {
        const Span s = EllipseRow(r.Width(), r.Height(), y);
        rows.push_back({r.left + s.first, r.left + s.last});
    }
    PaintRows(canvas, r.top, rows, density, pen, brush);
}

void RoundRect(Canvas& canvas, const Rect& logical, Size corner, Color pen, Color brush) {
    const int density = canvas.Density();
    const Rect r = Scaled(logical, density);
    const int cw = std::clamp(corner.width * density, 0, r.Width());
    const int ch = std::clamp(corner.height * density, 0, r.Height());
    std::vector<Span> rows;
    for (int y = 0; y < r.Height(); ++y) {
        // Rows in the top or bottom corners take the ellipse's row at the same distance from
        // its own top or bottom.
        Span span{0, cw};
        if (y < ch / 2) {
            span = EllipseRow(cw, ch, y);
        } else if (y >= r.Height() - ch / 2) {
            span = EllipseRow(cw, ch, ch - (r.Height() - y));
        }
        const int inset = span.first < span.last ? span.first : cw / 2;
        rows.push_back({r.left + inset, r.right - inset});
    }
    PaintRows(canvas, r.top, rows, density, pen, brush);
}

void FocusRect(Canvas& canvas, const Rect& rect, Color color) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    const auto dot = [&](int x, int y) {
        if ((x - rect.left + y - rect.top) % 2 == 0) canvas.SetPixel({x, y}, color);
    };
    for (int x = rect.left; x < rect.right; ++x) {
        dot(x, rect.top);
        dot(x, rect.bottom - 1);
    }
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        dot(rect.left, y);
        dot(rect.right - 1, y);
    }
}

}  // namespace shapes
