#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "banner/win32/transparent_static_control.h"
#include "toolkit/win32/xp_button_window.h"

class CRepellerDialog;
class Win32DialogView;

// The main dialog on Windows: template 102 run modally, its messages turned into the calls of
// CRepellerDialog, its background painted by the portable painter, its labels transparent.
class MainDialogWindow {
public:
    // `attached` runs once the window exists, before the logic initialises it.
    MainDialogWindow(HINSTANCE instance, Win32DialogView& view, CRepellerDialog& logic,
                     std::function<void(HWND)> attached);

    // Returns when Exit or Escape ends the dialog.
    INT_PTR Run();

    // The labels drawn over the gradient.
    static constexpr std::array<int, 9> kTransparentLabels{1014, 1015, 1016, 1017, 1018,
                                                           1020, 1021, 1019, 1011};

    // The push buttons with the flat look.
    static constexpr std::array<int, 8> kFlatButtons{1007, 131, 132, 133, 6, 7, 3, 4};

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void UpdateMenuChecks(HMENU popup);
    bool HandleSetCursor();

    HINSTANCE m_instance;
    Win32DialogView& m_view;
    CRepellerDialog& m_logic;
    std::function<void(HWND)> m_attached;
    HWND m_window = nullptr;
    HICON m_icon;
    HCURSOR m_hand;
    std::array<CTransparentStatic, kTransparentLabels.size()> m_labels;
    std::array<CXPButtonWindow, kFlatButtons.size()> m_buttons;
};
