#include "toolkit/win32/win32_xp_button.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <string>

#include "base/win32/wide_text.h"
#include "toolkit/owner_draw.h"
#include "toolkit/win32/buffer_dc.h"
#include "toolkit/win32/win32_canvas.h"
#include "toolkit/win32/win32_geometry.h"
#include "toolkit/win32/win32_system_colors.h"

namespace {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

}  // namespace

bool Win32XPButton::Attach(HWND button) {
    if (!m_subclass.Attach(button, *this, &Win32XPButton::Handle)) return false;
    // Or-ed as it is: every kind of button becomes an owner-drawn push button.
    SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) | BS_OWNERDRAW);
    InvalidateRect(button, nullptr, TRUE);
    return true;
}

bool Win32XPButton::ReflectDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON || !item.hwndItem) return false;
    return SendMessageW(item.hwndItem, kReflectedDrawItem, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

void Win32XPButton::Paint(CXPButton& look, const DRAWITEMSTRUCT& item, HWND button) {
    CBufferDC buffer(item.hDC, {0, 0, 0, 0});
    Win32Canvas canvas(buffer);
    // What the painter leaves of the clip box shows the target's background.
    const RECT& area = buffer.Area();
    canvas.FillSolidRect(FromRECT(area), GetBkColor(item.hDC));
    const RECT& r = item.rcItem;
    // The colours follow the system's as they are now.
    look.SetLook(Win32FlatLook().button);
    look.DrawItem(canvas, FromRECT(r), item.itemState, WindowText(button),
                  {GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE)});
}

void Win32XPButton::Repaint(CXPButton::Repaint how) {
    if (how == CXPButton::Repaint::kNone) return;
    InvalidateRect(m_subclass.Window(), nullptr,
                   how == CXPButton::Repaint::kErasing ? TRUE : FALSE);
}

std::optional<LRESULT> Win32XPButton::Handle(HWND button, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            m_look.OnMouseMove([button] {
                TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, button, 1};
                return _TrackMouseEvent(&track) != FALSE;
            });
            break;
        case WM_MOUSELEAVE:
            Repaint(m_look.OnMouseLeave());
            return 0;
        case WM_MOUSEHOVER:
            Repaint(m_look.OnMouseHover());
            return 1;
        case kReflectedDrawItem:
            Paint(m_look, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), button);
            return 1;
        default:
            break;
    }
    return std::nullopt;
}
