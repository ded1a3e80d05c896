#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/win32/window_subclass.h"

// A static text control that draws only its letters over what its parent painted behind it (the
// main dialog's gradient), through the portable label painter. The control keeps its text, font
// and style; this object only replaces its painting, for the control's lifetime.
class CTransparentStatic {
public:
    // Takes over the painting of `control`; false when it cannot.
    [[nodiscard]] bool Attach(HWND control);

    // Draws the control's text into `dc` as its WM_PAINT does, for the control's client area.
    static void PaintText(HWND control, HDC dc);

private:
    std::optional<LRESULT> Handle(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    WindowSubclass m_subclass;
};
