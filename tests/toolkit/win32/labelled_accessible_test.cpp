// A check box named by its label, on real controls (Wine's null display driver).
#include "toolkit/win32/labelled_accessible.h"

#include <gtest/gtest.h>

#include <string>

#include "base/win32/com_apartment.h"

namespace {

VARIANT Self() {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

// Name, role and state, as a screen reader reads them.
std::wstring Told(IAccessible* object) {
    BSTR name = nullptr;
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    std::wstring told = object->get_accName(Self(), &name) == S_OK ? name : L"(none)";
    SysFreeString(name);
    object->get_accRole(Self(), &role);
    object->get_accState(Self(), &state);
    return told + L"|" + std::to_wstring(role.lVal) + L"|" + std::to_wstring(state.lVal);
}

TEST(LabelledAccessible, NamesTheControlWithItsLabelsTextAndLeavesTheRestToTheSystem) {
    const ComApartment com;
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    if (!parent) GTEST_SKIP() << "no windows can be made here (no display driver)";
    HWND box = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 12,
                               12, parent, nullptr, nullptr, nullptr);
    HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 20, 0, 100, 12, parent, nullptr,
                                 nullptr, nullptr);
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    IAccessible* standard = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CreateStdAccessibleObject(box, OBJID_CLIENT, __uuidof(IAccessible),
                                                       reinterpret_cast<void**>(&standard)));
    const std::wstring system = Told(standard);
    standard->Release();
    const struct {
        const wchar_t* label;
        const wchar_t* name;
    } cases[] = {{L"시작 시 실행하기", L"시작 시 실행하기"},
                 {L"&Run at logon", L"Run at logon"},
                 {L"Fish && chips&", L"Fish & chips"},
                 {L"", L"(none)"}};
    for (const auto& c : cases) {
        SetWindowTextW(label, c.label);
        IAccessible* object = nullptr;
        const std::optional<LRESULT> answer =
            LabelledAccessible::Answer(box, label, 0, OBJID_CLIENT);
        ASSERT_TRUE(answer && *answer > 0);
        ASSERT_HRESULT_SUCCEEDED(ObjectFromLresult(*answer, __uuidof(IAccessible), 0,
                                                   reinterpret_cast<void**>(&object)));
        EXPECT_EQ(Told(object), c.name + system.substr(system.find(L'|')));
        object->Release();
    }
    EXPECT_FALSE(LabelledAccessible::Answer(box, label, 0, OBJID_WINDOW)) << "only the client area";
    DestroyWindow(parent);
}

}  // namespace
