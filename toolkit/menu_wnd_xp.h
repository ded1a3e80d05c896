#pragma once

#include "toolkit/canvas.h"
#include "toolkit/system_colors.h"

// What the toolkit keeps of one pop-up menu window while it is shown, and how it paints that
// window's frame: a dark outline with a two-pixel inner border of the items' paper colour, the top
// border opened below the menu-bar item the pop-up hangs from, and with shadows a four-pixel soft
// shadow right of and below the menu, made from the pixels that lay behind it.
class CMenuWndXP {
public:
    // Where and how large the window system is about to place the window (WINDOWPOS).
    struct WindowPos {
        int x = 0;
        int y = 0;
        int cx = 0;
        int cy = 0;
    };

    static constexpr int kShadow = 4;

    explicit CMenuWndXP(bool withShadows) : m_shadows(withShadows) {}

    // Makes room for the shadow and lifts the window by one pixel, so that a pop-up that hangs
    // from a menu-bar item starts on that item's last row; keeps the grown window inside
    // `workArea` (the screen less its panels) when it is known; remembers the new position.
    void OnWindowPosChanging(WindowPos& pos, const Rect& workArea = {});
    // The screen area to copy before the window shows, for a client area of `client`.
    Rect SnapshotRect(Size client) const;
    // Paints the frame and the shadow, unless the window (given by its screen rectangle) has the
    // size it had when this last painted. The shadow darkens `snapshot`, the screen behind the
    // window from its top-left corner: a composited desktop leaves the window's own pixels black
    // where it did not paint. Without a snapshot it darkens the window's pixels in place, once.
    // Returns whether it painted.
    bool OnNcPaint(Canvas& window, Surface* snapshot, const Rect& windowRect,
                   const SystemColors& colors);
    // Paints the frame into `target` (the window as printed, in its own coordinates), and with
    // shadows the shadow from `snapshot`, the screen behind the window from its top-left corner,
    // which also fills the strips' corners that the shadow leaves open. Without a snapshot the
    // shadow darkens what `target` holds. The join with the menu bar is painted only when items
    // were painted meanwhile.
    void OnPrint(Canvas& target, Surface* snapshot, const Rect& windowRect, bool itemsPainted,
                 const SystemColors& colors);

    // The screen area to copy before the window shows: the window as last positioned.
    Rect WindowSnapshotRect() const { return {m_x, m_y, m_x + m_cx, m_y + m_cy}; }

    // The frame of a `window`-sized menu window at screen position (x, y).
    void PaintFrame(Canvas& canvas, Size window, bool join, const SystemColors& colors) const;
    // Darkens the shadow strips of a W x H window: each pixel read from `source` is written to
    // `target` at the same place with its channels at 78 to 93 per cent. No pixel twice.
    static void DrawShadow(Canvas& source, Canvas& target, int W, int H);

    Point Position() const { return {m_x, m_y}; }

private:
    // The shadow strips of a W x H window from the screen behind it, with the pixels the
    // strips' rounded ends leave open.
    static void ShadowFromSnapshot(Canvas& target, Surface& snapshot, int W, int H);

    bool m_shadows;
    Rect m_lastFrame{};
    int m_x = -65535;
    int m_y = -65535;
    int m_cx = 0;
    int m_cy = 0;
};

// The Windows version code of the menu toolkit (1 Win32s, 2 Windows 95, 3 98, 4 Me, 5 NT 3.x and
// NT 5.2 or later, 6 NT 4, 7 2000, 8 XP; 0 when the version is unknown), from OSVERSIONINFO's
// platform, major and minor version.
int WinVersionCode(unsigned platformId, unsigned major, unsigned minor);
// The toolkit draws its own menu shadows where the system draws none: below Windows XP's code,
// and after XP while the system's "show shadows under menus" (`systemShadows`) is off.
inline bool DrawsMenuShadows(int versionCode, bool systemShadows) {
    return versionCode < 8 && !systemShadows;
}

// Counts the installs of the menu hook: nested pairs of Install and Remove leave one hook.
class MenuHookCount {
public:
    // True when a hook must now be installed.
    bool Install(bool hookInstalled) {
        ++m_count;
        return !hookInstalled;
    }
    // True when the hook must now be removed (the last Remove of the pairs); nothing at 0.
    bool Remove() {
        if (m_count == 0) return false;
        return --m_count == 0;
    }
    int Count() const { return m_count; }

private:
    int m_count = 0;
};
