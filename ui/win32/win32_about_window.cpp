#include "ui/win32/win32_about_window.h"

#include <array>

#include "base/win32/win32_resources.h"
#include "toolkit/win32/buffer_dc.h"
#include "toolkit/win32/win32_canvas.h"
#include "toolkit/win32/win32_system_colors.h"
#include "toolkit/win32/window_dpi.h"
#include "ui/win32/win32_label_fit.h"
#include "ui/win32/window_region.h"

namespace {

constexpr std::array kLabels{CAboutDialog::kNoticeLine, CAboutDialog::kVersionLine,
                             CAboutDialog::kMakerName};

}  // namespace

Win32AboutWindow::Win32AboutWindow(HINSTANCE instance, Shell& shell, std::string makerPage)
    : m_instance(instance), m_shell(shell), m_makerPage(std::move(makerPage)) {}

void Win32AboutWindow::Run(HWND owner, const std::function<void(HWND)>& shown) {
    m_shown = shown;
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(CAboutDialog::kTemplate), owner,
                    &Win32AboutWindow::Proc, reinterpret_cast<LPARAM>(this));
    if (m_shown) m_shown(nullptr);
}

CLinkStatic& Win32AboutWindow::Link(int id) {
    for (const auto& link : m_links) {
        if (GetDlgCtrlID(link->Control()) == id) return link->Logic();
    }
    return m_links.front()->Logic();
}

Size Win32AboutWindow::GetWindowSize() { return WindowSize(m_window); }

void Win32AboutWindow::SetWindowRegion(const Rect& region) {
    SetRectWindowRegion(m_window, region);
}

void Win32AboutWindow::MakeRoomForTheNoticeRow() {
    const int notice = LabelShortfall(m_window, std::array{CAboutDialog::kNoticeLine});
    const int maker = LabelShortfall(m_window, std::array{CAboutDialog::kMakerName});
    if (notice + maker == 0) return;
    const auto placeOf = [this](int id) {
        return ClientRectOf(GetDlgItem(m_window, id), m_window);
    };
    const Rect name = placeOf(CAboutDialog::kMakerName);
    const int gap = name.left - placeOf(CAboutDialog::kNoticeLine).right;
    RECT client{};
    GetClientRect(m_window, &client);
    // As much room right of the name as the gap before it.
    if (const int grow = notice + maker + gap - (client.right - name.right); grow > 0) {
        const Size size = WindowSize(m_window);
        SetWindowPos(m_window, nullptr, 0, 0, size.width + grow, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (notice > 0) {
        SetWindowPos(GetDlgItem(m_window, CAboutDialog::kMakerName), nullptr, name.left + notice,
                     name.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

INT_PTR CALLBACK Win32AboutWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Win32AboutWindow*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_window = window;
    }
    auto* self = reinterpret_cast<Win32AboutWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR Win32AboutWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            for (int id : kLabels) {
                m_links.push_back(
                    std::make_unique<Win32LinkStatic>(GetDlgItem(m_window, id), m_shell));
            }
            // A button that cannot be subclassed stays a plain one, which works as well.
            static_cast<void>(m_ok.Attach(GetDlgItem(m_window, IDOK)));
            m_logic.emplace(*this, m_makerPage);
            m_logic->OnInitDialog(Win32FlatLook().card);
            // The labels' font may be wider than the one the template was laid out for.
            MakeRoomForTheNoticeRow();
            FitLabelsToText(m_window, kLabels);
            if (HWND picture = FindPictureControl(m_window)) {
                m_picture.Show(picture, Win32Resources(m_instance), CAboutDialog::kPicture,
                               WindowDpi(m_window));
            }
            if (m_shown) m_shown(m_window);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            for (const auto& link : m_links) {
                if (link->Control() == reinterpret_cast<HWND>(lParam)) {
                    return reinterpret_cast<INT_PTR>(link->CtlColor(reinterpret_cast<HDC>(wParam)));
                }
            }
            return FALSE;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // A theme switched while the box is open: the card and its labels follow.
            m_logic->ApplyLook(Win32FlatLook().card);
            RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
            return FALSE;
        case WM_DRAWITEM:
            return Win32XPButton::ReflectDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))
                       ? TRUE
                       : FALSE;
        case WM_ERASEBKGND:
            SetWindowLongPtrW(m_window, DWLP_MSGRESULT, 1);
            return TRUE;
        case WM_SIZE:
            // The paint trims the box to its size: a box that shrinks, which paints nothing by
            // itself, is painted anew so that its region follows.
            InvalidateRect(m_window, nullptr, FALSE);
            return FALSE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(m_window, &paint);
            {
                CBufferDC buffer(dc, paint.rcPaint);
                Win32Canvas canvas(buffer);
                m_logic->OnPaint(canvas);
            }
            EndPaint(m_window, &paint);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(m_window, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            // The labels let go of their controls while these still exist.
            m_links.clear();
            m_ok.Detach();
            return FALSE;
        default:
            return FALSE;
    }
}
