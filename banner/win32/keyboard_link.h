#pragma once

#include <windows.h>

#include <functional>
#include <optional>

// A control that the keyboard reaches and opens as a link: a tab stop of its dialog, marked with
// the dotted focus rectangle while it has the focus, opened by Enter or Space, and announced to
// screen readers as a link (Win32AccessibleLink).
namespace keyboard_link {

// Puts `control` in its dialog's Tab order, or takes it out.
void SetTabStop(HWND control, bool stop);
// The control's keyboard, focus and WM_GETOBJECT messages: `open` runs for Enter and Space;
// nothing for any other message.
std::optional<LRESULT> Handle(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                              const std::function<void()>& open);
// Draws the focus rectangle round the control's client area into `dc` while the control has the
// focus; `dc` must show the control freshly painted, as the rectangle inverts what lies there.
void DrawFocusMark(HWND control, HDC dc);

}  // namespace keyboard_link
