#include "ui/win32/win32_dialog_view.h"

#include "banner/win32/win32_animated_picture.h"
#include "base/win32/wide_text.h"
#include "base/win32/win32_resources.h"
#include "toolkit/win32/win32_geometry.h"
#include "toolkit/win32/window_dpi.h"
#include "ui/banner_placement.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/picture_density.h"
#include "ui/repeller_dialog.h"
#include "ui/win32/language_resources.h"
#include "ui/win32/window_region.h"

Win32DialogView::Win32DialogView(HINSTANCE instance, std::string programName,
                                 std::function<void(HWND owner)> showAbout, LANGID language)
    : m_instance(instance),
      m_programName(std::move(programName)),
      m_showAbout(std::move(showAbout)),
      m_language(language) {}

std::string Win32DialogView::Text(UiText text) {
    const int id = Entry(text).stringId;
    const std::wstring stored = id ? LoadStringIn(m_instance, id, m_language) : std::wstring();
    return stored.empty() ? std::string(English(text)) : Narrow(stored);
}

Win32DialogView::~Win32DialogView() = default;

std::string Win32DialogView::GetItemText(int id) {
    HWND item = GetDlgItem(m_dialog, id);
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(item, text.data(), length + 1)));
    return Narrow(text);
}

void Win32DialogView::SetItemText(int id, std::string_view text) {
    SetDlgItemTextW(m_dialog, id, Widen(text).c_str());
}

int Win32DialogView::GetCheck(int id) {
    return IsDlgButtonChecked(m_dialog, id) == BST_CHECKED ? 1 : 0;
}

void Win32DialogView::SetCheck(int id, int state) {
    CheckDlgButton(m_dialog, id, state ? BST_CHECKED : BST_UNCHECKED);
}

void Win32DialogView::ShowItem(int id, bool show) {
    ::ShowWindow(GetDlgItem(m_dialog, id), show ? SW_SHOWNORMAL : SW_HIDE);
}

void Win32DialogView::FocusItem(int id) {
    // As the dialog's own keyboard moves do it: the edit gets the focus with its text selected.
    SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(m_dialog, id)), TRUE);
}

Rect Win32DialogView::GetItemRect(int id) {
    RECT r;
    if (!GetWindowRect(GetDlgItem(m_dialog, id), &r)) return {};
    MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&r), 2);
    return FromRECT(r);
}

Size Win32DialogView::MapDialogUnits(Size units) {
    RECT r{0, 0, units.width, units.height};
    if (!MapDialogRect(m_dialog, &r)) return {};
    return {r.right, r.bottom};
}

Size Win32DialogView::GetWindowSize() { return WindowSize(m_dialog); }

void Win32DialogView::SetWindowSize(Size size) {
    SetWindowPos(m_dialog, nullptr, 0, 0, size.width, size.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32DialogView::SetWindowRegion(const Rect& region) { SetRectWindowRegion(m_dialog, region); }

void Win32DialogView::ShowWindow(WindowShow how) {
    switch (how) {
        case WindowShow::Hide:
            ::ShowWindow(m_dialog, SW_HIDE);
            break;
        case WindowShow::Normal:
            ::ShowWindow(m_dialog, SW_SHOWNORMAL);
            break;
        case WindowShow::Minimize:
            ::ShowWindow(m_dialog, SW_MINIMIZE);
            break;
    }
}

void Win32DialogView::BringToFront() { SetForegroundWindow(m_dialog); }

void Win32DialogView::SetIcons() {
    // Each size drawn for it, rather than one picture scaled by the system.
    const auto icon = [this](int metricX, int metricY) {
        return reinterpret_cast<LPARAM>(LoadImageW(m_instance, MAKEINTRESOURCEW(ids::kDialogIcon),
                                                   IMAGE_ICON, GetSystemMetrics(metricX),
                                                   GetSystemMetrics(metricY), LR_SHARED));
    };
    SendMessageW(m_dialog, WM_SETICON, ICON_BIG, icon(SM_CXICON, SM_CYICON));
    SendMessageW(m_dialog, WM_SETICON, ICON_SMALL, icon(SM_CXSMICON, SM_CYSMICON));
}

void Win32DialogView::MarkRunningCopy() {
    SetPropW(m_dialog, Widen(m_programName).c_str(), reinterpret_cast<HANDLE>(kInstancePropValue));
}

void Win32DialogView::DestroyWindow() {
    // Ends the modal run; the system destroys the window and the program ends with it.
    EndDialog(m_dialog, IDCANCEL);
}

void Win32DialogView::AppendSystemMenuItem(int command, std::string_view text) {
    HMENU menu = GetSystemMenu(m_dialog, FALSE);
    if (!menu) return;
    // The text as the resources hold it (string 101), the program's own where they lack it.
    wchar_t stored[256];
    const int length = LoadStringW(m_instance, CRepellerDialog::kSystemAboutTextId, stored, 256);
    const std::wstring item = length > 0 ? std::wstring(stored, length) : Widen(text);
    if (item.empty()) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), item.c_str());
}

void Win32DialogView::ShowAboutBox() {
    if (m_about) {
        SetForegroundWindow(m_about);
        return;
    }
    m_showAbout(m_dialog);
}

bool Win32DialogView::LoadBanner(int id, std::string_view type) {
    if (!m_banner) {
        auto banner = std::make_unique<Win32AnimatedPicture>();
        if (!banner->Attach(GetDlgItem(m_dialog, ids::kBanner))) return false;
        // The banner leads to the program's page, from the keyboard too; its window text, never
        // drawn, names it for screen readers.
        banner->MakeKeyboardLink();
        SetWindowTextW(banner->Control(), kBannerName);
        m_banner = std::move(banner);
    }
    const Win32Resources resources(m_instance);
    if (!m_banner->LoadFromResource(resources, id, type)) return false;
    // A denser window takes the large version, if there is one, drawn at its scale.
    const Size plain = m_banner->Picture().GetSize();
    PictureChoice choice = ChoosePicture(WindowDpi(m_dialog), plain);
    if (choice.large && !m_banner->LoadFromResource(resources, id, std::string(type) + "@2x")) {
        static_cast<void>(m_banner->LoadFromResource(resources, id, type));
        choice = {false, plain};
    }
    const BannerPlacement place =
        PlaceBanner(MapDialogUnits(layout::kReferenceUnits), plain, choice.drawn);
    m_banner->ShowIn(place.shown, place.picture, choice.drawn);
    return true;
}

void Win32DialogView::StartBanner() {
    // A banner that cannot show leaves its place empty; the window works without it.
    if (m_banner) static_cast<void>(m_banner->StartShowing());
}
