#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/win32/standard_accessible.h"

// What a screen reader is told of a control that acts as a link (the About box's maker's name,
// the banner): the system's standard object of the control's client area, but with the role of a
// link, the control's window text as its name, the link's states and its default action, which
// presses Enter on the control. The system gives no way to change a standard object's role that
// every system honours (Wine ignores annotations), so the control answers WM_GETOBJECT with this.
class Win32AccessibleLink final : public StandardAccessible {
public:
    // The answer to the control's WM_GETOBJECT: this object for its client area; nothing, which
    // leaves the message to the control, for any other object.
    static std::optional<LRESULT> Answer(HWND control, WPARAM wParam, LPARAM lParam);

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

private:
    using StandardAccessible::StandardAccessible;
};
