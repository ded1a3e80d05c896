#include "tests/rigs/win32/accessibility_reader.h"

// clang-format off
#include <oleacc.h>
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"

namespace accessibility_reader {
namespace {

void Print(const std::wstring& text) { std::printf("%s\n", Narrow(text).c_str()); }

struct Com {
    Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Com() { CoUninitialize(); }
};

VARIANT Self() {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

std::wstring Name(IAccessible* object, VARIANT child) {
    BSTR name = nullptr;
    if (object->get_accName(child, &name) != S_OK || !name) return {};
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

std::wstring Role(IAccessible* object, VARIANT child) {
    VARIANT role;
    VariantInit(&role);
    if (FAILED(object->get_accRole(child, &role)) || role.vt != VT_I4) return L"?";
    wchar_t text[64] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), text, 64);
    return text;
}

unsigned long State(IAccessible* object, VARIANT child) {
    VARIANT state;
    VariantInit(&state);
    if (FAILED(object->get_accState(child, &state)) || state.vt != VT_I4) return 0;
    return static_cast<unsigned long>(state.lVal);
}

IAccessible* ObjectOf(HWND window, LONG id) {
    IAccessible* object = nullptr;
    const HRESULT result = AccessibleObjectFromWindow(
        window, static_cast<DWORD>(id), __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    if (FAILED(result)) {
        std::fprintf(stderr, "no accessible object %ld of window %p: 0x%08lx\n", id,
                     static_cast<void*>(window), static_cast<unsigned long>(result));
        return nullptr;
    }
    return object;
}

}  // namespace

int PrintControls(HWND window) {
    const Com com;
    if (IAccessible* client = ObjectOf(window, OBJID_CLIENT)) {
        long count = 0;
        client->get_accChildCount(&count);
        std::vector<VARIANT> children(static_cast<std::size_t>(count > 0 ? count : 1));
        long obtained = 0;
        if (FAILED(AccessibleChildren(client, 0, count, children.data(), &obtained))) {
            obtained = -1;
        }
        std::printf("children %ld of %ld\n", obtained, count);
        for (long i = 0; i < obtained; ++i) VariantClear(&children[static_cast<std::size_t>(i)]);
        client->Release();
    }
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        IAccessible* object = ObjectOf(child, OBJID_CLIENT);
        if (!object) continue;
        const VARIANT self = Self();
        wchar_t state[16];
        std::swprintf(state, 16, L"%lx", State(object, self));
        Print(std::to_wstring(GetDlgCtrlID(child)) + L"|" + Role(object, self) + L"|" +
              Name(object, self) + L"|" + state);
        object->Release();
    }
    return 0;
}

int PrintMenuBar(HWND window) {
    const Com com;
    IAccessible* bar = ObjectOf(window, OBJID_MENU);
    if (!bar) return 1;
    long count = 0;
    bar->get_accChildCount(&count);
    std::printf("children %ld\n", count);
    for (long i = 1; i <= count; ++i) {
        VARIANT child;
        VariantInit(&child);
        child.vt = VT_I4;
        child.lVal = i;
        Print(Role(bar, child) + L"|" + Name(bar, child));
    }
    bar->Release();
    return 0;
}

int PrintMenuTexts(HWND window, int popup) {
    HMENU menu = GetMenu(window);
    if (menu && popup >= 0) menu = GetSubMenu(menu, popup);
    if (!menu) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, pid);
    if (!process) return 1;
    const int count = GetMenuItemCount(menu);
    int read = 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_DATA | MIIM_STATE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item)) continue;
        MSAAMENUINFO info{};
        SIZE_T size = 0;
        std::wstring text;
        if (item.dwItemData &&
            ReadProcessMemory(process, reinterpret_cast<const void*>(item.dwItemData), &info,
                              sizeof info, &size) &&
            info.dwMSAASignature == MSAA_MENU_SIG && info.cchWText < 256) {
            text.resize(info.cchWText);
            if (info.cchWText && !ReadProcessMemory(process, info.pszWText, text.data(),
                                                    info.cchWText * sizeof(wchar_t), &size)) {
                text = L"?";
            }
            ++read;
        } else {
            text = L"(none)";
        }
        Print(text + L"|" + ((item.fState & MFS_CHECKED) ? L"1" : L"0"));
    }
    CloseHandle(process);
    return read ? 0 : 1;
}

}  // namespace accessibility_reader
