#include "banner/win32/keyboard_link.h"

#include "banner/win32/win32_accessible_link.h"

namespace keyboard_link {

void SetTabStop(HWND control, bool stop) {
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    SetWindowLongPtrW(control, GWL_STYLE,
                      stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
}

std::optional<LRESULT> Handle(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                              const std::function<void()>& open) {
    switch (message) {
        case WM_GETDLGCODE: {
            // The dialog would take Enter for its default button.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
                return DLGC_WANTMESSAGE;
            }
            return std::nullopt;
        }
        case WM_KEYDOWN:
            if (wParam != VK_RETURN && wParam != VK_SPACE) return std::nullopt;
            open();
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(control, nullptr, TRUE);
            return std::nullopt;
        case WM_GETOBJECT:
            return Win32AccessibleLink::Answer(control, wParam, lParam);
        default:
            return std::nullopt;
    }
}

void DrawFocusMark(HWND control, HDC dc) {
    if (GetFocus() != control) return;
    RECT client;
    GetClientRect(control, &client);
    DrawFocusRect(dc, &client);
}

}  // namespace keyboard_link
