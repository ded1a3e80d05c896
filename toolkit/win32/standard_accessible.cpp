#include "toolkit/win32/standard_accessible.h"

std::optional<LRESULT> StandardAccessible::Answer(HWND control, WPARAM wParam, LPARAM lParam,
                                                  const Maker& make) {
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return std::nullopt;
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard)))) {
        standard = nullptr;
    }
    StandardAccessible* object = make(standard);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();
    // A failure (a negative HRESULT) tells the caller there is no object.
    return result;
}

StandardAccessible::StandardAccessible(HWND control, IAccessible* standard)
    : m_control(control), m_standard(standard) {}

StandardAccessible::~StandardAccessible() {
    if (m_standard) m_standard->Release();
}

std::wstring StandardAccessible::WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HRESULT StandardAccessible::AnswerText(const std::wstring& text, BSTR* answer) {
    if (text.empty()) return S_FALSE;
    *answer = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *answer ? S_OK : E_OUTOFMEMORY;
}

HRESULT StandardAccessible::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG StandardAccessible::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG StandardAccessible::Release() {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT StandardAccessible::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
HRESULT StandardAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT StandardAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}
HRESULT StandardAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) {
    return E_NOTIMPL;
}

HRESULT StandardAccessible::get_accParent(IDispatch** parent) {
    return m_standard ? m_standard->get_accParent(parent) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accChildCount(long* count) {
    return m_standard ? m_standard->get_accChildCount(count) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accChild(VARIANT child, IDispatch** object) {
    return m_standard ? m_standard->get_accChild(child, object) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accName(VARIANT child, BSTR* name) {
    return m_standard ? m_standard->get_accName(child, name) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accValue(VARIANT child, BSTR* value) {
    return m_standard ? m_standard->get_accValue(child, value) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return m_standard ? m_standard->get_accDescription(child, description) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accRole(VARIANT child, VARIANT* role) {
    return m_standard ? m_standard->get_accRole(child, role) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accState(VARIANT child, VARIANT* state) {
    return m_standard ? m_standard->get_accState(child, state) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return m_standard ? m_standard->get_accHelp(child, help) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return m_standard ? m_standard->get_accHelpTopic(file, child, topic) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return m_standard ? m_standard->get_accKeyboardShortcut(child, shortcut) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accFocus(VARIANT* child) {
    return m_standard ? m_standard->get_accFocus(child) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accSelection(VARIANT* children) {
    return m_standard ? m_standard->get_accSelection(children) : E_NOTIMPL;
}
HRESULT StandardAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return m_standard ? m_standard->get_accDefaultAction(child, action) : E_NOTIMPL;
}
HRESULT StandardAccessible::accSelect(long flags, VARIANT child) {
    return m_standard ? m_standard->accSelect(flags, child) : E_NOTIMPL;
}
HRESULT StandardAccessible::accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) {
    return m_standard ? m_standard->accLocation(left, top, width, height, child) : E_NOTIMPL;
}
HRESULT StandardAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    return m_standard ? m_standard->accNavigate(direction, start, end) : E_NOTIMPL;
}
HRESULT StandardAccessible::accHitTest(long left, long top, VARIANT* child) {
    return m_standard ? m_standard->accHitTest(left, top, child) : E_NOTIMPL;
}
HRESULT StandardAccessible::accDoDefaultAction(VARIANT child) {
    return m_standard ? m_standard->accDoDefaultAction(child) : E_NOTIMPL;
}
HRESULT StandardAccessible::put_accName(VARIANT child, BSTR name) {
    return m_standard ? m_standard->put_accName(child, name) : E_NOTIMPL;
}
HRESULT StandardAccessible::put_accValue(VARIANT child, BSTR value) {
    return m_standard ? m_standard->put_accValue(child, value) : E_NOTIMPL;
}
