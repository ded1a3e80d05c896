#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/canvas.h"
#include "toolkit/win32/window_subclass.h"

// A static text control that draws only its letters over what its parent painted behind it (the
// main dialog's gradient), through the portable label painter. The control keeps its text, font
// and style; this object only replaces its painting, for the control's lifetime.
class CTransparentStatic {
public:
    // Takes over the painting of `control`; false when it cannot.
    [[nodiscard]] bool Attach(HWND control);

    // The letters' colour from the next paint on; black unless set.
    void SetTextColor(Color color) { m_textColor = color; }

    // Draws the control's text into `dc` as its WM_PAINT does, for the control's client area.
    static void PaintText(HWND control, HDC dc, Color color = Rgb(0, 0, 0));

private:
    std::optional<LRESULT> Handle(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    WindowSubclass m_subclass;
    Color m_textColor = Rgb(0, 0, 0);
};
