#include "banner/win32/win32_link_static.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <string>

#include "banner/win32/keyboard_link.h"
#include "base/win32/wide_text.h"

Win32LinkStatic::Win32LinkStatic(HWND control, Shell& shell)
    : m_control(control),
      m_logic(*this, shell, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)) {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof m_fontDescription, &m_fontDescription);
    m_font = CreateFontIndirectW(&m_fontDescription);
    m_fontUnderlined = m_fontDescription.lfUnderline != 0;
    SendMessageW(m_control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    UpdateBrush();
    // Without it the label still shows its text, only as a plain label.
    static_cast<void>(m_subclass.Attach(m_control, *this, &Win32LinkStatic::Handle));
}

Win32LinkStatic::~Win32LinkStatic() {
    if (IsWindow(m_control)) KillTimer(m_control, kBlinkTimer);
    m_subclass.Detach();
    DeleteObject(m_font);
    DeleteObject(m_brush);
}

void Win32LinkStatic::UpdateFont() {
    if (m_logic.Underline() == m_fontUnderlined) return;
    m_fontDescription.lfUnderline = m_logic.Underline() ? 1 : 0;
    HFONT font = CreateFontIndirectW(&m_fontDescription);
    if (!font) return;
    // The control draws with the font it was given, whatever the colour answer selects: give it
    // this one.
    SendMessageW(m_control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    DeleteObject(m_font);
    m_font = font;
    m_fontUnderlined = m_logic.Underline();
}

void Win32LinkStatic::UpdateBrush() {
    if (m_brush && m_brushColor == m_logic.BackColor()) return;
    HBRUSH brush = CreateSolidBrush(m_logic.BackColor());
    if (!brush) return;
    if (m_brush) DeleteObject(m_brush);
    m_brush = brush;
    m_brushColor = m_logic.BackColor();
}

HBRUSH Win32LinkStatic::CtlColor(HDC dc) {
    UpdateFont();
    UpdateBrush();
    SelectObject(dc, m_font);
    SetTextColor(dc, m_logic.ForeColor());
    SetBkMode(dc, TRANSPARENT);
    return m_brush;
}

std::string Win32LinkStatic::GetText() {
    const int length = GetWindowTextLengthW(m_control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(m_control, text.data(), length + 1)));
    return Narrow(text);
}

void Win32LinkStatic::SetText(std::string_view text) {
    SetWindowTextW(m_control, Widen(text).c_str());
}

void Win32LinkStatic::Redraw() {
    UpdateFont();
    RedrawWindow(m_control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32LinkStatic::StartTimer(int periodMs) {
    SetTimer(m_control, kBlinkTimer, static_cast<UINT>(periodMs), nullptr);
}

void Win32LinkStatic::StopTimer() { KillTimer(m_control, kBlinkTimer); }

void Win32LinkStatic::SetTakesClicks(bool takes) {
    LONG_PTR style = GetWindowLongPtrW(m_control, GWL_STYLE);
    style = takes ? (style | SS_NOTIFY) : (style & ~static_cast<LONG_PTR>(SS_NOTIFY));
    SetWindowLongPtrW(m_control, GWL_STYLE, style);
    // A label that takes clicks is a link, which the keyboard reaches as well.
    keyboard_link::SetTabStop(m_control, takes);
    m_link = takes;
}

std::optional<LRESULT> Win32LinkStatic::Handle(HWND control, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (m_link) {
        if (message == WM_PAINT && GetFocus() == control) {
            // The focus rectangle goes over the whole label as the control has just drawn it.
            InvalidateRect(control, nullptr, TRUE);
            const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
            HDC dc = GetDC(control);
            keyboard_link::DrawFocusMark(control, dc);
            ReleaseDC(control, dc);
            return result;
        }
        if (auto result = keyboard_link::Handle(control, message, wParam, lParam,
                                                [this] { m_logic.OnLButtonDown(); })) {
            return result;
        }
    }
    switch (message) {
        case WM_TIMER:
            if (wParam == kBlinkTimer) {
                m_logic.OnTimer();
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            m_logic.OnLButtonDown();
            break;
        case WM_SETCURSOR:
            if (const int cursor = m_logic.OnSetCursor(); cursor != CLinkStatic::kNoCursor) {
                SetCursor(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(cursor)));
                return TRUE;
            }
            break;
        case WM_NCDESTROY:
            KillTimer(control, kBlinkTimer);
            break;
        default:
            break;
    }
    return std::nullopt;
}
