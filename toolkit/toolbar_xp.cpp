#include "toolkit/toolbar_xp.h"

#include "toolkit/hls_color.h"
#include "toolkit/shapes.h"

namespace toolbar_xp {

namespace {

bool Meets(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Line drawing from a current position, as MoveTo and LineTo do.
class Pen {
public:
    Pen(Canvas& canvas, Color color) : m_canvas(canvas), m_color(color) {}
    void MoveTo(Point p) { m_at = p; }
    void LineTo(Point p) {
        m_canvas.DrawLine(m_at, p, m_color);
        m_at = p;
    }

private:
    Canvas& m_canvas;
    Color m_color;
    Point m_at;
};

}  // namespace

void PaintToolbar(Canvas& canvas, const ToolbarView& view, std::span<const ToolbarButton> buttons,
                  const SystemColors& colors) {
    using namespace toolbar_bits;
    const auto face = [&](int l, int s) { return HLSTransform(colors.buttonFace, l, s); };
    const auto light = [&](int l, int s) { return HLSTransform(colors.highlight, l, s); };
    canvas.FillSolidRect(view.area, face(20, 0));

    for (std::size_t n = 0; n < buttons.size(); ++n) {
        const ToolbarButton& b = buttons[n];
        if ((b.state & kHidden) || !Meets(b.rect, view.area)) continue;
        const int l = b.rect.left, t = b.rect.top, R0 = b.rect.right, bottom = b.rect.bottom;
        int r = R0;
        const bool enabled = (b.state & kEnabled) != 0;
        const bool checked = (b.state & kChecked) != 0;
        const bool indeterminate = (b.state & kIndeterminate) != 0;
        const bool dropDown = (b.style & kDropDownStyle) != 0;
        bool hot = static_cast<int>(n) == view.hotItem && enabled;
        bool pressed = false;

        if (indeterminate) {
            Pen pen(canvas, colors.darkShadow);
            pen.MoveTo({l, bottom});
            pen.LineTo({l, t});
            pen.LineTo({r - 1, t});
            pen.LineTo({r - 1, bottom - 1});
            pen.LineTo({l, bottom - 1});
            hot = true;
        } else if (hot || checked) {
            pressed = view.leftButtonDown && b.rect.Contains(view.cursor);
            if (dropDown) {
                pressed = pressed && view.cursor.x < R0 - 13;
                if (pressed) r = R0 - 13;
            }
            Color fill = light(80, -66);
            if (pressed || (hot && checked)) {
                fill = light(50, -50);
            } else if (hot) {
                fill = light(70, -57);
            }
            shapes::Rectangle(canvas, {l, t, r, bottom}, colors.highlight, fill);
            if (dropDown) {
                if (pressed) {
                    shapes::Rectangle(canvas, {R0 - 14, t, R0, bottom}, colors.highlight,
                                      light(70, -66));
                } else {
                    canvas.DrawLine({R0 - 14, t}, {R0 - 14, bottom}, colors.highlight);
                }
            }
        }

        if ((b.style & kSeparatorStyle) && b.command == 0) {
            const Color rule = face(-15, 0);
            if (b.state & kWrap) {
                canvas.DrawLine({view.client.left + 2, bottom - 4},
                                {view.client.right - 2, bottom - 4}, rule);
            } else {
                const int x = (l + r) / 2 - 1;
                canvas.DrawLine({x, t + 2}, {x, bottom - 2}, rule);
            }
            continue;
        }
        if (b.style & kSeparatorStyle) continue;

        if (dropDown) {
            const Color ink = hot && !indeterminate ? Rgb(0, 0, 0)
                              : enabled             ? colors.buttonText
                                                    : colors.grayText;
            const int m = (t + bottom) / 2;
            canvas.DrawLine({R0 - 9, m - 1}, {R0 - 4, m - 1}, ink);
            canvas.DrawLine({R0 - 8, m}, {R0 - 5, m}, ink);
            canvas.SetPixel({R0 - 7, m + 1}, ink);
        }
        if (b.image < 0 || !view.images) continue;
        if (!enabled || (hot && !pressed)) {
            const int h = hot ? 1 : 0;
            const Color ink = !hot ? face(-27, 0) : indeterminate ? face(-20, 0) : light(50, -66);
            view.images->DrawSilhouette(canvas, b.image, {l + 3 + h, t + 3 + h}, ink);
        }
        if (enabled) {
            const int d = hot && !pressed ? 2 : 3;
            view.images->Draw(canvas, b.image, {l + d, t + d});
        }
    }
}

void PaintStatusBar(Canvas& canvas, std::span<const Rect> panes, const SystemColors& colors) {
    for (const Rect& pane : panes) shapes::Rectangle(canvas, pane, colors.buttonShadow);
}

void PaintArrowButton(Canvas& canvas, const Rect& r, ArrowButtonState state,
                      const SystemColors& colors) {
    const Color hotFill = HLSTransform(colors.highlight, 70, -57);
    if (state.disabled || !state.highlighted) {
        shapes::Rectangle(canvas, r, state.outsideToolbar ? colors.buttonShadow : colors.window,
                          colors.buttonFace);
    } else {
        shapes::Rectangle(canvas, r, colors.highlight,
                          state.pressed ? HLSTransform(colors.highlight, 50, -50) : hotFill);
    }
    Color ink = colors.buttonText;
    if (state.pressed) {
        ink = Rgb(240, 240, 240);
    } else if (state.disabled) {
        ink = colors.grayText;
    } else if (canvas.GetPixel({r.left + 1, r.top + 1}) == hotFill) {
        ink = Rgb(0, 0, 0);
    }
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2 + 2;
    for (int i = 0; i < 4; ++i) canvas.DrawLine({x - i, y - i}, {x + i + 1, y - i}, ink);
}

void PaintCombo(Canvas& canvas, const Rect& client, int thumb, ComboState state,
                const SystemColors& colors) {
    const bool lit = state.focused || state.dropped || state.hot;
    PaintArrowButton(canvas, {client.right - thumb, client.top, client.right, client.bottom},
                     {!state.enabled, !state.docked, lit, state.dropped}, colors);
    shapes::Rectangle(canvas, client,
                      lit            ? colors.highlight
                      : state.docked ? colors.window
                                     : colors.buttonShadow);
    const Color pen = state.enabled ? colors.window : colors.buttonFace;
    const Rect inner{client.left + 1, client.top + 1, client.right - 1 - thumb, client.bottom - 1};
    shapes::Rectangle(canvas, inner, pen);
    canvas.DrawLine({inner.right, inner.top}, {inner.right, inner.bottom}, pen);
}

}  // namespace toolbar_xp

int CComboHeight::OnWindowPosChanging(int requested, int listItems, int borderHeight,
                                      int fieldHeight, int listItemHeight) {
    if (m_pending != -1) return requested;
    if (m_fieldHeight == -1) m_fieldHeight = fieldHeight;
    m_pending = requested;
    return 7 * borderHeight + listItems * listItemHeight + m_fieldHeight;
}

int CComboHeight::TakeFieldHeight() {
    if (m_pending == -1) return -1;
    const int height = (m_pending - 6) & 0xFFFF;
    m_pending = -1;
    return height;
}

void CHoverTracker::Apply() {
    if (m_options & kInvalidate) m_host.Invalidate();
    if (m_options & kRedrawFrame) m_host.RedrawFrame();
}

bool CHoverTracker::OnMouseMove(Window window) {
    if (!m_hot) {
        m_hot = true;
        Apply();
        m_host.TrackLeave(window);
        m_tracked = window;
        return true;
    }
    if (window == m_tracked) return false;
    m_host.CancelLeave(m_tracked);
    m_host.TrackLeave(window);
    m_tracked = window;
    return false;
}

bool CHoverTracker::OnMouseLeave(Window window) {
    if (!m_hot || window != m_tracked) return false;
    m_hot = false;
    Apply();
    return true;
}
