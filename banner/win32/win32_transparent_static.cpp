#include "banner/win32/win32_transparent_static.h"

#include <string>

#include "banner/transparent_static.h"
#include "base/win32/wide_text.h"
#include "toolkit/win32/win32_canvas.h"

namespace {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return Narrow(text);
}

}  // namespace

bool CTransparentStatic::Attach(HWND control) {
    return m_subclass.Attach(control, *this, &CTransparentStatic::Handle);
}

void CTransparentStatic::PaintText(HWND control, HDC dc, Color color) {
    RECT client;
    GetClientRect(control, &client);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    Win32Canvas canvas(dc);
    const auto style = static_cast<unsigned>(GetWindowLongPtrW(control, GWL_STYLE));
    transparent_static::Paint(canvas, {client.left, client.top, client.right, client.bottom},
                              WindowText(control), style, color);
    if (previous) SelectObject(dc, previous);
}

std::optional<LRESULT> CTransparentStatic::Handle(HWND control, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(control, &paint);
            PaintText(control, dc, m_textColor);
            EndPaint(control, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            // Nothing of its own behind the letters: the parent's painting shows.
            return 1;
        default:
            return std::nullopt;
    }
}
