#include "toolkit/menu_wnd_xp.h"

#include <algorithm>

#include "toolkit/flat_look.h"
#include "toolkit/menu_xp.h"
#include "toolkit/shapes.h"

namespace {

Color Darken(Color c, int percent) {
    return Rgb(static_cast<std::uint8_t>(RedOf(c) * percent / 100),
               static_cast<std::uint8_t>(GreenOf(c) * percent / 100),
               static_cast<std::uint8_t>(BlueOf(c) * percent / 100));
}

void Shade(Canvas& source, Canvas& target, Point p, int q) {
    target.SetPixel(p, Darken(source.GetPixel(p), 93 - 5 * q));
}

// The step of darkness of a strip's pixel at distance `along` from its rounded end and `across`
// from its outer edge: the end's first rows are lighter.
int EndStep(int along, int across) {
    if (along == 0) return 0;
    if (along == 1) return across >= 2 ? 1 : 0;
    if (along == 2) return across >= 2 ? 2 : across;
    return across;
}

}  // namespace

void CMenuWndXP::OnWindowPosChanging(WindowPos& pos, const Rect& workArea) {
    if (m_shadows) {
        pos.cx += kShadow;
        pos.cy += kShadow;
    }
    pos.y -= 1;
    // The system placed the window before it grew: near a corner it would reach past the edge.
    if (workArea.Width() > 0 && workArea.Height() > 0) {
        pos.x = std::max(workArea.left, std::min(pos.x, workArea.right - pos.cx));
        pos.y = std::max(workArea.top, std::min(pos.y, workArea.bottom - pos.cy));
    }
    m_x = pos.x;
    m_y = pos.y;
    m_cx = pos.cx;
    m_cy = pos.cy;
}

Rect CMenuWndXP::SnapshotRect(Size client) const {
    return {m_x, m_y, m_x + client.width + 10, m_y + client.height + 10};
}

void CMenuWndXP::PaintFrame(Canvas& canvas, Size window, bool join,
                            const SystemColors& colors) const {
    Rect r{0, 0, window.width, window.height};
    if (m_shadows) {
        r.right -= kShadow;
        r.bottom -= kShadow;
    }
    const MenuPalette palette = MenuPalette::From(colors);
    shapes::Rectangle(canvas, r, palette.tabEdge);
    for (int ring = 0; ring < 2; ++ring) {
        r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        shapes::Rectangle(canvas, r, palette.paper);
    }
    const Rect& item = CMenuXP::ms_rcMenuBarItem;
    if (join && item.Width() > 0 && item.Height() > 0 && item.bottom == m_y + 1) {
        canvas.DrawLine({item.left - m_x - 3, 0}, {item.right - m_x - 5, 0}, palette.band);
    }
}

bool CMenuWndXP::OnNcPaint(Canvas& window, Surface* snapshot, const Rect& windowRect,
                           const SystemColors& colors) {
    m_x = windowRect.left;
    m_y = windowRect.top;
    const Rect frame{0, 0, windowRect.Width(), windowRect.Height()};
    if (frame == m_lastFrame) return false;
    m_lastFrame = frame;
    PaintFrame(window, {frame.right, frame.bottom}, true, colors);
    if (!m_shadows) return true;
    if (snapshot) {
        ShadowFromSnapshot(window, *snapshot, frame.right, frame.bottom);
    } else {
        DrawShadow(window, window, frame.right, frame.bottom);
    }
    return true;
}

void CMenuWndXP::OnPrint(Canvas& target, Surface* snapshot, const Rect& windowRect,
                         bool itemsPainted, const SystemColors& colors) {
    const int W = windowRect.Width();
    const int H = windowRect.Height();
    m_lastFrame = {0, 0, W, H};
    PaintFrame(target, {W, H}, itemsPainted, colors);
    if (!m_shadows) return;
    if (!snapshot) {
        DrawShadow(target, target, W, H);
        return;
    }
    ShadowFromSnapshot(target, *snapshot, W, H);
}

void CMenuWndXP::ShadowFromSnapshot(Canvas& target, Surface& snapshot, int W, int H) {
    target.CopySurface(snapshot, {0, H - 4, 8, H}, {0, H - 4});
    target.CopySurface(snapshot, {W - 4, H - 4, W, H}, {W - 4, H - 4});
    target.CopySurface(snapshot, {W - 4, 0, W, 8}, {W - 4, 0});
    DrawShadow(snapshot.GetCanvas(), target, W, H);
}

void CMenuWndXP::DrawShadow(Canvas& source, Canvas& target, int W, int H) {
    // Below the menu: from its left end (columns 4 to 7) to the corner, four rows.
    for (int i = 0; i <= W - 2; ++i) {
        int first = 0;
        if (i < 2) {
            first = 2 - i;
        } else if (i > W - 7) {
            first = i - (W - 7);
        }
        const int end = i > W - 8 ? W - i - 4 : 4;
        for (int j = first; j < end; ++j) {
            Shade(source, target, {i + 4, H - 1 - j}, i >= 3 ? j : EndStep(i, j));
        }
    }
    // Right of the menu: from its top end (rows 4 to 7) down to where the corner begins.
    for (int k = 0; k < 4; ++k) {
        const int n = k == 0 ? 2 : 1;
        for (int j = std::max(2 - k, 0); j < H - 4 - k - n; ++j) {
            Shade(source, target, {W - 1 - k, j + 4}, EndStep(j, k));
        }
    }
}

int WinVersionCode(unsigned platformId, unsigned major, unsigned minor) {
    if (platformId == 0) return 1;
    if (platformId == 2) {
        if (major == 4) return 6;
        if (major == 5 && minor == 0) return 7;
        if (major == 5 && minor == 1) return 8;
        return 5;
    }
    if (major == 4 && minor == 10) return 3;
    if (major == 4 && minor == 90) return 4;
    return 2;
}
