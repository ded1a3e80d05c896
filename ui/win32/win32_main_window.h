#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

#include "banner/win32/win32_transparent_static.h"
#include "toolkit/win32/win32_xp_button.h"
#include "toolkit/win32/window_subclass.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_painter.h"
#include "ui/win32/density_picture.h"

class CRepellerDialog;
class Win32DialogView;

// The main dialog on Windows: template 102 run modally, its messages turned into the calls of
// CRepellerDialog, its background painted by the portable painter, its labels transparent.
class Win32MainWindow {
public:
    // `attached` runs once the window exists, before the logic initialises it.
    Win32MainWindow(HINSTANCE instance, Win32DialogView& view, CRepellerDialog& logic,
                    std::function<void(HWND)> attached);

    // Returns when Exit or Escape ends the dialog.
    INT_PTR Run();

    // The labels drawn over the gradient.
    static constexpr std::array kTransparentLabels{
        ids::kFrequencyLabel, ids::kToLabel,         ids::kHzLabel,
        ids::kDelayLabel,     ids::kStepLabel,       ids::kSoundSettingsLabel,
        ids::kSoundTestLabel, ids::kRunAtLogonLabel, ids::kNotice};

    // The push buttons with the flat look.
    static constexpr std::array kFlatButtons{ids::kClose,     ids::kStart,   ids::kStop,
                                             ids::kDetails,   ids::kSet,     ids::kDefault,
                                             ids::kTestSound, ids::kStopTest};

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Names the run-at-logon check box for screen readers after its label.
    std::optional<LRESULT> HandleRunAtLogonBox(HWND box, UINT message, WPARAM wParam,
                                               LPARAM lParam);
    void Paint();
    // Widens the labels to their texts in the dialog's font, the section labels first, and notes
    // where these end, for the lines drawn right of them.
    void FitLabels();
    // Takes the colour scheme now in force: the program's own look, or a high-contrast theme's.
    void ApplyColorScheme();
    // Draws the pictures for the window's density now.
    void ShowPicturesForDpi();
    // Centres the window on its screen's work area, as a dialog opens, unless it was moved
    // since `before` (its rectangle before it initialised).
    void CentreUnlessPlaced(const RECT& before);
    void UpdateMenuChecks(HMENU popup);
    bool HandleSetCursor();

    HINSTANCE m_instance;
    Win32DialogView& m_view;
    CRepellerDialog& m_logic;
    std::function<void(HWND)> m_attached;
    HWND m_window = nullptr;
    HICON m_icon;
    HCURSOR m_hand;
    // Where the section labels end, as the window system placed them.
    dialog_painter::SectionLabelRights m_sectionLabels{};
    WindowLook m_look = LightWindowLook();
    std::array<CTransparentStatic, kTransparentLabels.size()> m_labels;
    std::array<Win32XPButton, kFlatButtons.size()> m_buttons;
    WindowSubclass m_runAtLogonBox;
    DensityPicture m_speaker;
};
