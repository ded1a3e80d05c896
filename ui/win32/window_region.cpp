#include "ui/win32/window_region.h"

void SetRectWindowRegion(HWND window, const Rect& region) {
    HRGN wanted = CreateRectRgn(region.left, region.top, region.right, region.bottom);
    HRGN current = CreateRectRgn(0, 0, 0, 0);
    const bool same = GetWindowRgn(window, current) != ERROR && EqualRgn(current, wanted);
    DeleteObject(current);
    if (same) {
        DeleteObject(wanted);
        return;
    }
    // The window owns the region from here on.
    if (!SetWindowRgn(window, wanted, TRUE)) DeleteObject(wanted);
}

Size WindowSize(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}
