// A check box named by its label, on real controls (Wine's null display driver).
#include "toolkit/win32/labelled_accessible.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/win32/com_apartment.h"

namespace {

// Name, role and state, as a screen reader reads them.
std::wstring Told(IAccessible* object) {
    VARIANT self, role, state;
    VariantInit(&role);
    VariantInit(&state);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring told = object->get_accName(self, &name) == S_OK ? name : L"(none)";
    SysFreeString(name);
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    object->Release();
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
    IAccessible* object = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CreateStdAccessibleObject(box, OBJID_CLIENT, __uuidof(IAccessible),
                                                       reinterpret_cast<void**>(&object)));
    const std::wstring system = Told(object);
    for (const auto& [text, name] : {std::pair{L"시작 시 실행하기", L"시작 시 실행하기"},
                                     {L"&Run at logon", L"Run at logon"},
                                     {L"Fish && chips&", L"Fish & chips"},
                                     {L"", L"(none)"}}) {
        SetWindowTextW(label, text);
        const std::optional<LRESULT> answer =
            LabelledAccessible::Answer(box, label, 0, OBJID_CLIENT);
        ASSERT_TRUE(answer && *answer > 0);
        ASSERT_HRESULT_SUCCEEDED(ObjectFromLresult(*answer, __uuidof(IAccessible), 0,
                                                   reinterpret_cast<void**>(&object)));
        EXPECT_EQ(Told(object), name + system.substr(system.find(L'|')));
    }
    EXPECT_FALSE(LabelledAccessible::Answer(box, label, 0, OBJID_WINDOW)) << "only the client area";
    DestroyWindow(parent);
}

}  // namespace
