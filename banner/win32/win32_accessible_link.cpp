#include "banner/win32/win32_accessible_link.h"

std::optional<LRESULT> Win32AccessibleLink::Answer(HWND control, WPARAM wParam, LPARAM lParam) {
    return StandardAccessible::Answer(control, wParam, lParam, [control](IAccessible* standard) {
        return new Win32AccessibleLink(control, standard);
    });
}

HRESULT Win32AccessibleLink::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (!IsSelf(child)) return E_INVALIDARG;
    return AnswerText(WindowText(Control()), name);
}

HRESULT Win32AccessibleLink::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    if (!IsSelf(child)) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_LINK;
    return S_OK;
}

HRESULT Win32AccessibleLink::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    if (!IsSelf(child)) return E_INVALIDARG;
    long bits = STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
    if (!IsWindowVisible(Control())) bits |= STATE_SYSTEM_INVISIBLE;
    if (GetFocus() == Control()) bits |= STATE_SYSTEM_FOCUSED;
    state->vt = VT_I4;
    state->lVal = bits;
    return S_OK;
}

HRESULT Win32AccessibleLink::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    if (!IsSelf(child)) return E_INVALIDARG;
    *action = SysAllocString(L"Jump");
    return *action ? S_OK : E_OUTOFMEMORY;
}

HRESULT Win32AccessibleLink::accDoDefaultAction(VARIANT child) {
    if (!IsSelf(child)) return E_INVALIDARG;
    // Posted: the caller does not wait for the page to open.
    return PostMessageW(Control(), WM_KEYDOWN, VK_RETURN, 0) ? S_OK : E_FAIL;
}
