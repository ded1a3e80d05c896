#include "banner/win32/transparent_static_control.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <string>

#include "banner/transparent_static.h"
#include "base/win32/wide_text.h"
#include "toolkit/win32/gdi_canvas.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x7A5;

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return Narrow(text);
}

}  // namespace

CTransparentStatic::~CTransparentStatic() {
    if (m_control && IsWindow(m_control)) {
        RemoveWindowSubclass(m_control, &CTransparentStatic::Proc, kSubclassId);
    }
}

bool CTransparentStatic::Attach(HWND control) {
    if (!control || !SetWindowSubclass(control, &CTransparentStatic::Proc, kSubclassId, 0)) {
        return false;
    }
    m_control = control;
    return true;
}

void CTransparentStatic::PaintText(HWND control, HDC dc) {
    RECT client;
    GetClientRect(control, &client);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    GdiCanvas canvas(dc);
    const auto style = static_cast<unsigned>(GetWindowLongPtrW(control, GWL_STYLE));
    // Black, the device context's own text colour.
    transparent_static::Paint(canvas, {client.left, client.top, client.right, client.bottom},
                              WindowText(control), style, Rgb(0, 0, 0));
    if (previous) SelectObject(dc, previous);
}

LRESULT CALLBACK CTransparentStatic::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            PaintText(window, dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            // Nothing of its own behind the letters: the parent's painting shows.
            return 1;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, &CTransparentStatic::Proc, kSubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
