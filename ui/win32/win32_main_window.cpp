#include "ui/win32/win32_main_window.h"

// clang-format off
#include <windowsx.h>
// clang-format on

#include <array>
#include <vector>

#include "base/win32/win32_resources.h"
#include "toolkit/win32/buffer_dc.h"
#include "toolkit/win32/labelled_accessible.h"
#include "toolkit/win32/win32_canvas.h"
#include "toolkit/win32/win32_menu_xp.h"
#include "toolkit/win32/win32_system_colors.h"
#include "toolkit/win32/window_dpi.h"
#include "ui/about_box.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/dialog_painter.h"
#include "ui/repeller_dialog.h"
#include "ui/win32/language_resources.h"
#include "ui/win32/win32_dialog_view.h"
#include "ui/win32/win32_label_fit.h"
#include "ui/window_placement.h"

namespace {

// Posted to itself when the window's density changed, for what follows the dialog manager's work.
constexpr UINT kAfterDensityChange = WM_APP + 1;

// What a dialog procedure hands back for messages whose result is not its return value.
INT_PTR Result(HWND window, LRESULT result) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, Win32DialogView& view, CRepellerDialog& logic,
                                 std::function<void(HWND)> attached)
    : m_instance(instance),
      m_view(view),
      m_logic(logic),
      m_attached(std::move(attached)),
      m_icon(LoadIconW(instance, MAKEINTRESOURCEW(ids::kDialogIcon))),
      m_hand(LoadCursorW(instance, MAKEINTRESOURCEW(CAboutDialog::kHandCursor))) {}

void Win32MainWindow::CentreUnlessPlaced(const RECT& before) {
    RECT now;
    GetWindowRect(m_window, &now);
    if (now.left != before.left || now.top != before.top) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const Point at = CentredOrigin({work.left, work.top, work.right, work.bottom},
                                   {now.right - now.left, now.bottom - now.top});
    SetWindowPos(m_window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR Win32MainWindow::Run() {
    const DLGTEMPLATE* dialog = FindDialogTemplate(m_instance, ids::kMainDialog, m_view.Language());
    if (!dialog) return -1;
    return DialogBoxIndirectParamW(m_instance, dialog, nullptr, &Win32MainWindow::Proc,
                                   reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Win32MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<Win32MainWindow*>(lParam)->m_window = window;
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR Win32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            m_view.Attach(m_window);
            // A control that cannot be subclassed keeps its own look, and works as well.
            for (std::size_t i = 0; i < kTransparentLabels.size(); ++i) {
                static_cast<void>(m_labels[i].Attach(GetDlgItem(m_window, kTransparentLabels[i])));
            }
            for (std::size_t i = 0; i < kFlatButtons.size(); ++i) {
                static_cast<void>(m_buttons[i].Attach(GetDlgItem(m_window, kFlatButtons[i])));
            }
            static_cast<void>(m_runAtLogonBox.Attach(GetDlgItem(m_window, ids::kRunAtLogon), *this,
                                                     &Win32MainWindow::HandleRunAtLogonBox));
            FitLabels();
            ApplyColorScheme();
            ShowPicturesForDpi();
            if (m_attached) m_attached(m_window);
            Win32MenuXP::EnableOwnerDraw(m_window, true);
            Win32MenuXP::ConvertMenuBar(m_window);
            {
                RECT before;
                GetWindowRect(m_window, &before);
                const bool focusSet = m_logic.OnInitDialog();
                CentreUnlessPlaced(before);
                return focusSet ? TRUE : FALSE;
            }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == IDCANCEL) {
                m_logic.OnCancel();
                return TRUE;
            }
            // Enter or Space on the banner, which the keyboard reaches: what a click on it does.
            if (id == ids::kBanner && code == STN_CLICKED && lParam) {
                const Rect banner = m_view.GetItemRect(ids::kBanner);
                m_logic.OnLButtonDown(
                    {(banner.left + banner.right) / 2, (banner.top + banner.bottom) / 2});
                return TRUE;
            }
            // Menus, accelerators and button clicks; an edit's notifications are not commands.
            if (code != 0 && code != 1) return FALSE;
            return m_logic.OnCommand(id) ? TRUE : FALSE;
        }
        case WM_SYSCOMMAND:
            if (m_logic.OnSysCommand(static_cast<int>(wParam))) return Result(m_window, 0);
            return FALSE;
        case WM_CLOSE:
            m_logic.OnClose();
            return TRUE;
        case WM_DPICHANGED:
            // The dialog manager resizes the window and lays out, scales and re-fonts its
            // controls from the template when this returns; what the program adds follows after.
            PostMessageW(m_window, kAfterDensityChange, 0, 0);
            return FALSE;
        case kAfterDensityChange:
            FitLabels();
            m_logic.OnDensityChanged();
            ShowPicturesForDpi();
            RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return TRUE;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            ApplyColorScheme();
            return FALSE;
        case WM_ERASEBKGND:
            // WM_PAINT covers everything; erasing first would flicker.
            return Result(m_window, 1);
        case WM_PAINT:
            Paint();
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(m_icon);
        case WM_LBUTTONDOWN:
            m_logic.OnLButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return FALSE;
        case WM_SETCURSOR:
            return HandleSetCursor() ? Result(m_window, TRUE) : FALSE;
        case WM_INITMENUPOPUP: {
            if (!HIWORD(lParam)) UpdateMenuChecks(reinterpret_cast<HMENU>(wParam));
            LRESULT ignored = 0;
            Win32MenuXP::HandleMenuMessage(m_window, message, wParam, lParam, ignored);
            return FALSE;
        }
        case WM_DRAWITEM:
            if (Win32XPButton::ReflectDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
                return TRUE;
            }
            [[fallthrough]];
        case WM_MEASUREITEM:
        case WM_MENUCHAR: {
            LRESULT result = 0;
            if (!Win32MenuXP::HandleMenuMessage(m_window, message, wParam, lParam, result)) {
                return FALSE;
            }
            return Result(m_window, result);
        }
        default:
            return FALSE;
    }
}

std::optional<LRESULT> Win32MainWindow::HandleRunAtLogonBox(HWND box, UINT message, WPARAM wParam,
                                                            LPARAM lParam) {
    if (message != WM_GETOBJECT) return std::nullopt;
    // The box has no text of its own: its caption is the label beside it.
    return LabelledAccessible::Answer(box, GetDlgItem(m_window, ids::kRunAtLogonLabel), wParam,
                                      lParam);
}

void Win32MainWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    RECT client;
    GetClientRect(m_window, &client);
    if (IsIconic(m_window)) {
        SendMessageW(m_window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, m_icon);
    } else {
        // Composed off-screen and copied once. The labels then draw their letters on top: the
        // dialog does not clip its children, so this covers their areas too.
        CBufferDC buffer(dc, paint.rcPaint);
        Win32Canvas canvas(buffer);
        canvas.FillSolidRect(
            {paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom},
            m_look.ground);
        dialog_painter::PaintBackground(canvas, client.right, m_logic.Scale(), m_sectionLabels,
                                        m_look);
    }
    EndPaint(m_window, &paint);
}

void Win32MainWindow::FitLabels() {
    // The dialog's font or language may need more room than the template gives a label. The
    // section labels grow first, and the lines drawn right of them start where they end; the
    // other labels stop short of the lines.
    constexpr std::array kSectionLabels{ids::kSoundSettingsLabel, ids::kSoundTestLabel};
    FitLabelsToText(m_window, kSectionLabels, {});
    m_sectionLabels = {m_view.GetItemRect(ids::kSoundSettingsLabel).right,
                       m_view.GetItemRect(ids::kSoundTestLabel).right};
    std::vector<Rect> lines;
    for (const dialog_painter::EtchedLine& line : dialog_painter::EtchedLines(
             DialogScale(m_view.MapDialogUnits(layout::kReferenceUnits)), m_sectionLabels)) {
        lines.push_back(line.Covered());
    }
    FitLabelsToText(m_window, kTransparentLabels, lines);
}

void Win32MainWindow::ShowPicturesForDpi() {
    if (HWND speaker = FindPictureControl(m_window)) {
        m_speaker.Show(speaker, Win32Resources(m_instance), ids::kSpeakerBitmap,
                       WindowDpi(m_window));
    }
}

void Win32MainWindow::ApplyColorScheme() {
    m_look = Win32FlatLook().window;
    for (CTransparentStatic& label : m_labels) label.SetTextColor(m_look.text);
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32MainWindow::UpdateMenuChecks(HMENU popup) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT command = GetMenuItemID(popup, i);
        if (command == 0 || command == static_cast<UINT>(-1)) continue;
        if (const std::optional<bool> checked =
                m_logic.OnUpdateCommand(static_cast<int>(command))) {
            CheckMenuItem(popup, static_cast<UINT>(i),
                          MF_BYPOSITION | (*checked ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

bool Win32MainWindow::HandleSetCursor() {
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(m_window, &cursor);
    if (!m_logic.OnSetCursor({cursor.x, cursor.y})) return false;
    SetCursor(m_hand);
    return true;
}
