#pragma once

#include <windows.h>

#include <optional>

#include "banner/link_static.h"
#include "toolkit/win32/window_subclass.h"

// A link label on Windows: a static control whose colours, font and background CLinkStatic
// decides. The control draws its own text with what CtlColor hands it (its parent forwards
// WM_CTLCOLORSTATIC here); the blink timer, clicks and the cursor reach the logic through the
// control's messages. A label that takes clicks is a link for the keyboard too (keyboard_link.h).
class Win32LinkStatic final : public LinkLabelView {
public:
    // Blink ticks come as this timer of the control.
    static constexpr UINT_PTR kBlinkTimer = 1;

    Win32LinkStatic(HWND control, Shell& shell);
    ~Win32LinkStatic() override;
    Win32LinkStatic(const Win32LinkStatic&) = delete;
    Win32LinkStatic& operator=(const Win32LinkStatic&) = delete;

    CLinkStatic& Logic() { return m_logic; }
    HWND Control() const { return m_control; }

    // The answer to the parent's WM_CTLCOLORSTATIC for this control: selects the font and text
    // colour into `dc` and returns the background brush.
    HBRUSH CtlColor(HDC dc);

    std::string GetText() override;
    void SetText(std::string_view text) override;
    void Redraw() override;
    void StartTimer(int periodMs) override;
    void StopTimer() override;
    void SetTakesClicks(bool takes) override;

private:
    std::optional<LRESULT> Handle(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    // Makes the font and brush match what the logic decided.
    void UpdateFont();
    void UpdateBrush();

    HWND m_control;
    LOGFONTW m_fontDescription{};
    HFONT m_font = nullptr;
    bool m_fontUnderlined = false;
    bool m_link = false;
    HBRUSH m_brush = nullptr;
    Color m_brushColor = 0;
    CLinkStatic m_logic;
    WindowSubclass m_subclass;
};
