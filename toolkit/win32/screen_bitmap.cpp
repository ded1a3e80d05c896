#include "toolkit/win32/screen_bitmap.h"

HBITMAP GetScreenBitmap(const RECT& area) {
    HDC screen = GetDC(nullptr);
    if (!screen) return nullptr;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = nullptr;
    if (memory) {
        bitmap = CreateCompatibleBitmap(screen, area.right - area.left, area.bottom - area.top);
        if (bitmap) {
            HGDIOBJ previous = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left,
                   area.top, SRCCOPY);
            SelectObject(memory, previous);
        }
        DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
    return bitmap;
}
