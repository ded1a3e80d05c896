#include "toolkit/win32/window_dpi.h"

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);

}  // namespace

int WindowDpi(HWND window) {
    // Looked up at run time: older systems lack GetDpiForWindow.
    static const auto forWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
    }
    int dpi = USER_DEFAULT_SCREEN_DPI;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}
