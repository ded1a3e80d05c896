#include "banner/win32/accessible_link.h"

#include <string>

namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

std::optional<LRESULT> AccessibleLink::Answer(HWND control, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return std::nullopt;
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard)))) {
        standard = nullptr;
    }
    auto* link = new AccessibleLink(control, standard);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, link);
    link->Release();
    // A failure (a negative HRESULT) tells the caller there is no object.
    return result;
}

AccessibleLink::AccessibleLink(HWND control, IAccessible* standard)
    : m_control(control), m_standard(standard) {}

AccessibleLink::~AccessibleLink() {
    if (m_standard) m_standard->Release();
}

HRESULT AccessibleLink::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG AccessibleLink::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }

ULONG AccessibleLink::Release() {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT AccessibleLink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
HRESULT AccessibleLink::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT AccessibleLink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT AccessibleLink::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                               UINT*) {
    return E_NOTIMPL;
}

// What the link does not change is the standard object's.

HRESULT AccessibleLink::get_accParent(IDispatch** parent) {
    return m_standard ? m_standard->get_accParent(parent) : E_NOTIMPL;
}
HRESULT AccessibleLink::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
HRESULT AccessibleLink::get_accChild(VARIANT, IDispatch** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    return E_INVALIDARG;
}

HRESULT AccessibleLink::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (!IsSelf(child)) return E_INVALIDARG;
    const std::wstring text = WindowText(m_control);
    if (text.empty()) return S_FALSE;
    *name = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessibleLink::get_accValue(VARIANT child, BSTR* value) {
    return m_standard ? m_standard->get_accValue(child, value) : E_NOTIMPL;
}
HRESULT AccessibleLink::get_accDescription(VARIANT child, BSTR* description) {
    return m_standard ? m_standard->get_accDescription(child, description) : E_NOTIMPL;
}

HRESULT AccessibleLink::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    if (!IsSelf(child)) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_LINK;
    return S_OK;
}

HRESULT AccessibleLink::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    if (!IsSelf(child)) return E_INVALIDARG;
    long bits = STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
    if (!IsWindowVisible(m_control)) bits |= STATE_SYSTEM_INVISIBLE;
    if (GetFocus() == m_control) bits |= STATE_SYSTEM_FOCUSED;
    state->vt = VT_I4;
    state->lVal = bits;
    return S_OK;
}

HRESULT AccessibleLink::get_accHelp(VARIANT child, BSTR* help) {
    return m_standard ? m_standard->get_accHelp(child, help) : E_NOTIMPL;
}
HRESULT AccessibleLink::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return m_standard ? m_standard->get_accHelpTopic(file, child, topic) : E_NOTIMPL;
}
HRESULT AccessibleLink::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return m_standard ? m_standard->get_accKeyboardShortcut(child, shortcut) : E_NOTIMPL;
}
HRESULT AccessibleLink::get_accFocus(VARIANT* child) {
    return m_standard ? m_standard->get_accFocus(child) : E_NOTIMPL;
}
HRESULT AccessibleLink::get_accSelection(VARIANT* children) {
    return m_standard ? m_standard->get_accSelection(children) : E_NOTIMPL;
}

HRESULT AccessibleLink::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    if (!IsSelf(child)) return E_INVALIDARG;
    *action = SysAllocString(L"Jump");
    return *action ? S_OK : E_OUTOFMEMORY;
}

HRESULT AccessibleLink::accSelect(long flags, VARIANT child) {
    return m_standard ? m_standard->accSelect(flags, child) : E_NOTIMPL;
}
HRESULT AccessibleLink::accLocation(long* left, long* top, long* width, long* height,
                                    VARIANT child) {
    return m_standard ? m_standard->accLocation(left, top, width, height, child) : E_NOTIMPL;
}
HRESULT AccessibleLink::accNavigate(long direction, VARIANT start, VARIANT* end) {
    return m_standard ? m_standard->accNavigate(direction, start, end) : E_NOTIMPL;
}
HRESULT AccessibleLink::accHitTest(long left, long top, VARIANT* child) {
    return m_standard ? m_standard->accHitTest(left, top, child) : E_NOTIMPL;
}

HRESULT AccessibleLink::accDoDefaultAction(VARIANT child) {
    if (!IsSelf(child)) return E_INVALIDARG;
    // Posted: the caller does not wait for the page to open.
    return PostMessageW(m_control, WM_KEYDOWN, VK_RETURN, 0) ? S_OK : E_FAIL;
}

HRESULT AccessibleLink::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT AccessibleLink::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }
