#pragma once

#include <windows.h>

#include "ui/system_tray.h"

// The notification-area icon on Windows. A hidden window of its own receives the shell's
// callbacks and its news of a new notification area, and hands them to CSystemTray; menus and
// commands go to the main window.
class Win32TrayHost final : public TrayHost {
public:
    // The message the shell sends for the icon's mouse events.
    static constexpr UINT kCallbackMessage = WM_USER + 10;

    Win32TrayHost(CSystemTray& tray, HINSTANCE instance);
    ~Win32TrayHost() override;
    Win32TrayHost(const Win32TrayHost&) = delete;
    Win32TrayHost& operator=(const Win32TrayHost&) = delete;

    void SetMainWindow(HWND main) { m_main = main; }

    [[nodiscard]] bool AddIcon(int iconId, std::string_view tip) override;
    void RemoveIcon() override;
    [[nodiscard]] bool ReplaceIcon(int iconId) override;
    void SetForeground() override;
    void TrackPopupMenu(const MenuPopup& popup, int defaultCommand) override;
    void SendCommand(int command) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] bool CreateCallbackWindow();
    HICON LoadSmallIcon(int iconId) const;

    CSystemTray& m_tray;
    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HWND m_main = nullptr;
    NOTIFYICONDATAW m_record{};
};
