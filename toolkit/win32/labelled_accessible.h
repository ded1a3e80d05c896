#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/win32/standard_accessible.h"

// What a screen reader is told of a control whose caption is a label of its own, as a check box
// with no text beside a static: the system's standard object of the control, named with the
// label's text as it reads when asked, without its mnemonic marks. The system's own objects take a
// name from a label only when it comes before the control in the window order, and only for some
// kinds of control.
class LabelledAccessible final : public StandardAccessible {
public:
    // The answer to the control's WM_GETOBJECT: this object for its client area; nothing, which
    // leaves the message to the control, for any other object.
    static std::optional<LRESULT> Answer(HWND control, HWND label, WPARAM wParam, LPARAM lParam);

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;

private:
    LabelledAccessible(HWND control, IAccessible* standard, HWND label);

    HWND m_label;
};
