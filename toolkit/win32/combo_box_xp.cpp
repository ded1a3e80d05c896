#include "toolkit/win32/combo_box_xp.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include "toolkit/win32/win32_canvas.h"
#include "toolkit/win32/win32_system_colors.h"

namespace {

constexpr UINT kDialogCode = 0x0087;       // WM_GETDLGCODE
constexpr DWORD kCancelOnly = 0x80000000;  // TME_CANCEL

HWND ToolbarParent(HWND window) {
    HWND parent = GetParent(window);
    wchar_t name[32] = {};
    return parent && GetClassNameW(parent, name, 32) && lstrcmpiW(name, TOOLBARCLASSNAMEW) == 0
               ? parent
               : nullptr;
}

}  // namespace

CComboBoxXP::CComboBoxXP() : m_tracker(*this, CHoverTracker::kInvalidate) {}

bool CComboBoxXP::Attach(HWND combo) {
    Detach();
    if (!m_combo.Attach(combo, *this, &CComboBoxXP::OnComboMessage)) return false;
    if (HWND edit = GetWindow(combo, GW_CHILD)) {
        // Without it the combo box is flat all the same; it only goes cold while the pointer is
        // over its edit field.
        static_cast<void>(m_edit.Attach(edit, *this, &CComboBoxXP::OnEditMessage));
    }
    return true;
}

void CComboBoxXP::Detach() {
    m_edit.Detach();
    m_combo.Detach();
}

bool CComboBoxXP::IsDocked() const { return m_combo.Window() && ToolbarParent(m_combo.Window()); }

std::optional<LRESULT> CComboBoxXP::OnEditMessage(HWND edit, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    const auto tracked = reinterpret_cast<CHoverTracker::Window>(edit);
    switch (message) {
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            if (IsDocked()) InvalidateRect(m_combo.Window(), nullptr, TRUE);
            return result;
        }
        case WM_MOUSEMOVE: {
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            m_tracker.OnMouseMove(tracked);
            return result;
        }
        case WM_MOUSELEAVE:
            m_tracker.OnMouseLeave(tracked);
            return 0;
        default:
            return std::nullopt;
    }
}

std::optional<LRESULT> CComboBoxXP::OnComboMessage(HWND combo, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    switch (message) {
        case kDialogCode: {
            const auto code =
                static_cast<unsigned>(DefSubclassProc(combo, message, wParam, lParam));
            return toolbar_xp::ComboDialogCode(code, GetKeyState(VK_RETURN) < 0);
        }
        case WM_WINDOWPOSCHANGING: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOSIZE)) {
                pos->cy = m_height.OnWindowPosChanging(
                    pos->cy, kListItems, GetSystemMetrics(SM_CYBORDER),
                    static_cast<int>(
                        SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)),
                    static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0)));
            }
            break;
        }
        case WM_WINDOWPOSCHANGED: {
            const LRESULT result = DefSubclassProc(combo, message, wParam, lParam);
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOSIZE)) {
                const int field = m_height.TakeFieldHeight();
                if (field >= 0) {
                    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
                }
            }
            HWND edit = m_edit.Window();
            if (edit && GetFocus() != edit) SendMessageW(edit, EM_SETSEL, -1, 0);
            return result;
        }
        case WM_PAINT:
            OnPaint(combo);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(combo, message, wParam, lParam);
            if (IsDocked()) InvalidateRect(combo, nullptr, TRUE);
            return result;
        }
        case WM_MOUSEMOVE: {
            const LRESULT result = DefSubclassProc(combo, message, wParam, lParam);
            m_tracker.OnMouseMove(0);
            return result;
        }
        case WM_MOUSELEAVE:
            m_tracker.OnMouseLeave(0);
            return 0;
        default:
            break;
    }
    return std::nullopt;
}

void CComboBoxXP::OnPaint(HWND combo) {
    RECT client;
    GetClientRect(combo, &client);
    const int thumb = GetSystemMetrics(SM_CXHTHUMB);
    // The control paints all but its button, which the toolkit paints flat.
    const RECT button{client.right - thumb, client.top, client.right, client.bottom};
    ValidateRect(combo, &button);
    DefSubclassProc(combo, WM_PAINT, 0, 0);

    toolbar_xp::ComboState state;
    state.enabled = IsWindowEnabled(combo) != FALSE;
    state.docked = IsDocked();
    const HWND focus = GetFocus();
    state.focused = state.docked && (focus == combo || (focus && IsChild(combo, focus)));
    state.dropped = SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    state.hot = m_tracker.IsHot();
    HDC dc = GetDC(combo);
    {
        Win32Canvas canvas(dc);
        toolbar_xp::PaintCombo(canvas, {client.left, client.top, client.right, client.bottom},
                               thumb, state, Win32SystemColors());
    }
    ReleaseDC(combo, dc);
}

HWND CComboBoxXP::WindowOf(CHoverTracker::Window window) const {
    return window ? reinterpret_cast<HWND>(window) : m_combo.Window();
}

void CComboBoxXP::Invalidate() { InvalidateRect(m_combo.Window(), nullptr, FALSE); }

void CComboBoxXP::RedrawFrame() {
    SetWindowPos(m_combo.Window(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

void CComboBoxXP::TrackLeave(CHoverTracker::Window window) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, WindowOf(window), 0};
    TrackMouseEvent(&track);
}

void CComboBoxXP::CancelLeave(CHoverTracker::Window window) {
    TRACKMOUSEEVENT track{sizeof track, kCancelOnly, WindowOf(window), 0};
    TrackMouseEvent(&track);
}
