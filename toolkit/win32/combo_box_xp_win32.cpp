#include "toolkit/win32/combo_box_xp_win32.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include "toolkit/win32/gdi_canvas.h"
#include "toolkit/win32/win32_system_colors.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x5843;   // "XC"
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

CComboBoxXP::~CComboBoxXP() { Detach(); }

bool CComboBoxXP::Attach(HWND combo) {
    Detach();
    if (!combo || !SetWindowSubclass(combo, &CComboBoxXP::ComboProc, kSubclassId,
                                     reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_combo = combo;
    m_edit = GetWindow(combo, GW_CHILD);
    if (m_edit && !SetWindowSubclass(m_edit, &CComboBoxXP::EditProc, kSubclassId,
                                     reinterpret_cast<DWORD_PTR>(this))) {
        m_edit = nullptr;
    }
    return true;
}

void CComboBoxXP::Detach() {
    if (m_edit) RemoveWindowSubclass(m_edit, &CComboBoxXP::EditProc, kSubclassId);
    if (m_combo) RemoveWindowSubclass(m_combo, &CComboBoxXP::ComboProc, kSubclassId);
    m_edit = nullptr;
    m_combo = nullptr;
}

bool CComboBoxXP::IsDocked() const { return m_combo && ToolbarParent(m_combo); }

LRESULT CALLBACK CComboBoxXP::ComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR self) {
    auto* combo = reinterpret_cast<CComboBoxXP*>(self);
    if (message == WM_NCDESTROY) {
        combo->Detach();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return combo->OnComboMessage(message, wParam, lParam);
}

LRESULT CALLBACK CComboBoxXP::EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
    auto* combo = reinterpret_cast<CComboBoxXP*>(self);
    const auto edit = reinterpret_cast<CHoverTracker::Window>(window);
    switch (message) {
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            if (combo->IsDocked()) InvalidateRect(combo->m_combo, nullptr, TRUE);
            return result;
        }
        case WM_MOUSEMOVE: {
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            combo->m_tracker.OnMouseMove(edit);
            return result;
        }
        case WM_MOUSELEAVE:
            combo->m_tracker.OnMouseLeave(edit);
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, &CComboBoxXP::EditProc, kSubclassId);
            combo->m_edit = nullptr;
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CComboBoxXP::OnComboMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kDialogCode: {
            const auto code =
                static_cast<unsigned>(DefSubclassProc(m_combo, message, wParam, lParam));
            return toolbar_xp::ComboDialogCode(code, GetKeyState(VK_RETURN) < 0);
        }
        case WM_WINDOWPOSCHANGING: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOSIZE)) {
                pos->cy = m_height.OnWindowPosChanging(
                    pos->cy, m_listItems, GetSystemMetrics(SM_CYBORDER),
                    static_cast<int>(
                        SendMessageW(m_combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)),
                    static_cast<int>(SendMessageW(m_combo, CB_GETITEMHEIGHT, 0, 0)));
            }
            break;
        }
        case WM_WINDOWPOSCHANGED: {
            const LRESULT result = DefSubclassProc(m_combo, message, wParam, lParam);
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOSIZE)) {
                const int field = m_height.TakeFieldHeight();
                if (field >= 0) {
                    SendMessageW(m_combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
                }
            }
            if (m_edit && GetFocus() != m_edit) SendMessageW(m_edit, EM_SETSEL, -1, 0);
            return result;
        }
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(m_combo, message, wParam, lParam);
            if (IsDocked()) InvalidateRect(m_combo, nullptr, TRUE);
            return result;
        }
        case WM_MOUSEMOVE: {
            const LRESULT result = DefSubclassProc(m_combo, message, wParam, lParam);
            m_tracker.OnMouseMove(0);
            return result;
        }
        case WM_MOUSELEAVE:
            m_tracker.OnMouseLeave(0);
            return 0;
        default:
            break;
    }
    return DefSubclassProc(m_combo, message, wParam, lParam);
}

void CComboBoxXP::OnPaint() {
    RECT client;
    GetClientRect(m_combo, &client);
    const int thumb = GetSystemMetrics(SM_CXHTHUMB);
    // The control paints all but its button, which the toolkit paints flat.
    const RECT button{client.right - thumb, client.top, client.right, client.bottom};
    ValidateRect(m_combo, &button);
    DefSubclassProc(m_combo, WM_PAINT, 0, 0);

    toolbar_xp::ComboState state;
    state.enabled = IsWindowEnabled(m_combo) != FALSE;
    state.docked = IsDocked();
    const HWND focus = GetFocus();
    state.focused = state.docked && (focus == m_combo || (focus && IsChild(m_combo, focus)));
    state.dropped = SendMessageW(m_combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    state.hot = m_tracker.IsHot();
    HDC dc = GetDC(m_combo);
    {
        GdiCanvas canvas(dc);
        toolbar_xp::PaintCombo(canvas, {client.left, client.top, client.right, client.bottom},
                               thumb, state, Win32SystemColors());
    }
    ReleaseDC(m_combo, dc);
}

HWND CComboBoxXP::WindowOf(CHoverTracker::Window window) const {
    return window ? reinterpret_cast<HWND>(window) : m_combo;
}

void CComboBoxXP::Invalidate() { InvalidateRect(m_combo, nullptr, FALSE); }

void CComboBoxXP::RedrawFrame() {
    SetWindowPos(m_combo, nullptr, 0, 0, 0, 0,
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
