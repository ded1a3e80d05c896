#include "toolkit/win32/window_subclass.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <utility>

// Each object is its own subclass id, so that several may sit on one window.
bool WindowSubclass::Attach(HWND window, Handler handler) {
    Detach();
    if (!window ||
        !SetWindowSubclass(window, &WindowSubclass::Proc, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_window = window;
    m_handler = std::move(handler);
    return true;
}

void WindowSubclass::Detach() {
    if (!m_window) return;
    RemoveWindowSubclass(m_window, &WindowSubclass::Proc, reinterpret_cast<UINT_PTR>(this));
    m_window = nullptr;
}

LRESULT CALLBACK WindowSubclass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self) {
    auto* subclass = reinterpret_cast<WindowSubclass*>(self);
    // A subclass must be gone before the window is.
    if (message == WM_NCDESTROY) subclass->Detach();
    if (const std::optional<LRESULT> result =
            subclass->m_handler(window, message, wParam, lParam)) {
        return *result;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
