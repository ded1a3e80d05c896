#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "banner/win32/win32_link_static.h"
#include "toolkit/win32/win32_xp_button.h"
#include "ui/about_box.h"
#include "ui/win32/density_picture.h"

class Shell;

// The About box on Windows: dialog template 100 with CAboutDialog deciding its labels and its
// card, the labels drawn by Win32LinkStatic.
class Win32AboutWindow final : public AboutView {
public:
    Win32AboutWindow(HINSTANCE instance, Shell& shell, std::string makerPage);

    // Runs the box modal to `owner` until OK or Escape. `shown` is told the box's window once it
    // exists, and null when it is gone.
    void Run(HWND owner, const std::function<void(HWND)>& shown);

    CLinkStatic& Link(int id) override;
    Size GetWindowSize() override;
    void SetWindowRegion(const Rect& region) override;

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // The notice and the maker's name share a row that ends near the box's edge: where their texts
    // need more than their labels, the name moves right by the notice's share (keeping the gap
    // between them) and the box grows where the room right of the name is too small.
    void MakeRoomForTheNoticeRow();

    HINSTANCE m_instance;
    Shell& m_shell;
    std::string m_makerPage;
    HWND m_window = nullptr;
    std::function<void(HWND)> m_shown;
    std::vector<std::unique_ptr<Win32LinkStatic>> m_links;
    std::optional<CAboutDialog> m_logic;
    Win32XPButton m_ok;
    DensityPicture m_picture;
};
