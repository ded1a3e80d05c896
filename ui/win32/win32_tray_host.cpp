#include "ui/win32/win32_tray_host.h"

// clang-format off
#include <shellapi.h>
// clang-format on

#include "base/win32/wide_text.h"
#include "ui/dialog_ids.h"

namespace {

constexpr wchar_t kWindowClass[] = L"DrovaneTrayCallback";

// What the shell broadcasts to every top-level window once its notification area is made anew.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

}  // namespace

Win32TrayHost::Win32TrayHost(CSystemTray& tray, HINSTANCE instance)
    : m_tray(tray), m_instance(instance) {}

Win32TrayHost::~Win32TrayHost() {
    // The icon goes with its host, whatever happens to the tray logic later.
    m_tray.RemoveFromTray();
    if (m_window) DestroyWindow(m_window);
}

bool Win32TrayHost::CreateCallbackWindow() {
    if (m_window) return true;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Win32TrayHost::WindowProc;
    windowClass.hInstance = m_instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    // A pop-up that is never shown: it only receives the shell's messages.
    m_window = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               m_instance, this);
    if (!m_window) return false;
    // A copy run as an administrator would otherwise not hear it from the user's shell.
    ChangeWindowMessageFilterEx(m_window, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
    return true;
}

HICON Win32TrayHost::LoadSmallIcon(int iconId) const {
    return static_cast<HICON>(LoadImageW(m_instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

bool Win32TrayHost::AddIcon(int iconId, std::string_view tip) {
    if (!CreateCallbackWindow()) return false;
    m_record = {};
    m_record.cbSize = sizeof m_record;
    m_record.hWnd = m_window;
    m_record.uID = ids::kTrayMenu;
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_record.uCallbackMessage = kCallbackMessage;
    m_record.hIcon = LoadSmallIcon(iconId);
    // The logic has cut the tip to the record's size; cut the UTF-16 form too, to be sure.
    const std::wstring wide = Widen(tip);
    lstrcpynW(m_record.szTip, wide.c_str(), static_cast<int>(std::size(m_record.szTip)));
    if (Shell_NotifyIconW(NIM_ADD, &m_record)) return true;
    // The shell also announces a new notification area when it keeps the old icons (after a
    // change of the screen's resolution): ours is then still there and takes the new record.
    return Shell_NotifyIconW(NIM_MODIFY, &m_record) != FALSE;
}

void Win32TrayHost::RemoveIcon() {
    m_record.uFlags = 0;
    Shell_NotifyIconW(NIM_DELETE, &m_record);
}

bool Win32TrayHost::ReplaceIcon(int iconId) {
    m_record.uFlags = NIF_ICON;
    m_record.hIcon = LoadSmallIcon(iconId);
    return Shell_NotifyIconW(NIM_MODIFY, &m_record) != FALSE;
}

void Win32TrayHost::SetForeground() {
    // Without it the menu would not close when the user clicks elsewhere.
    if (m_main) SetForegroundWindow(m_main);
}

void Win32TrayHost::TrackPopupMenu(const MenuPopup&, int defaultCommand) {
    HMENU menu = LoadMenuW(m_instance, MAKEINTRESOURCEW(ids::kTrayMenu));
    if (!menu) return;
    if (HMENU popup = GetSubMenu(menu, 0)) {
        SetMenuDefaultItem(popup, static_cast<UINT>(defaultCommand), FALSE);
        POINT cursor;
        GetCursorPos(&cursor);
        // Owned by the main window: it sets the check marks and receives the chosen command.
        ::TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, m_main, nullptr);
        // Lets the menu close properly when it is opened again at once.
        PostMessageW(m_main, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}

void Win32TrayHost::SendCommand(int command) {
    SendMessageW(m_main, WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(command)), 0);
}

LRESULT CALLBACK Win32TrayHost::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32TrayHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kCallbackMessage) {
        return self->m_tray.HandleTrayCallback(static_cast<std::uint32_t>(wParam),
                                               LOWORD(static_cast<DWORD>(lParam)));
    }
    if (self && message == TaskbarCreatedMessage()) {
        self->m_tray.OnNotificationAreaCreated();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
