// The flat combo box on a real drop-down combo box: the pointer moving between it and its edit
// field, its frame, its height in a toolbar and its dialog code (Wine's null display driver).
#include "toolkit/win32/combo_box_xp.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include "tests/support/win32/frame_window_test.h"

namespace {

bool RepaintPending(HWND window) {
    RECT r;
    const bool pending = GetUpdateRect(window, &r, FALSE) != FALSE;
    ValidateRect(window, nullptr);
    return pending;
}

int FieldHeight(HWND combo) {
    return static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
}

class ComboBoxXPTest : public FrameWindowTest {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        FrameWindowTest::SetUp();
    }
    HWND MakeCombo(HWND parent) {
        HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10,
                                     4, 150, 200, parent, nullptr, nullptr, nullptr);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"16000"));
        return combo;
    }
};

TEST_F(ComboBoxXPTest, MovingBetweenTheComboBoxAndItsEditFieldKeepsItHot) {
    CComboBoxXP flat;
    HWND combo = MakeCombo(frame);
    ASSERT_TRUE(flat.Attach(combo));
    HWND edit = GetWindow(combo, GW_CHILD);
    ASSERT_NE(edit, nullptr);
    UpdateWindow(combo);
    ValidateRect(combo, nullptr);

    SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(140, 5));
    EXPECT_TRUE(flat.IsHot());
    EXPECT_TRUE(RepaintPending(combo)) << "becoming hot repaints";
    SendMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(flat.IsHot());
    EXPECT_FALSE(RepaintPending(combo)) << "moving onto the edit field repaints nothing";
    SendMessageW(combo, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(flat.IsHot()) << "a late leave of the combo box itself is ignored";
    SendMessageW(edit, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(flat.IsHot());
    EXPECT_TRUE(RepaintPending(combo));
}

TEST_F(ComboBoxXPTest, FramedInTheShadowColourAndInTheHighlightWhileHot) {
    CComboBoxXP flat;
    HWND combo = MakeCombo(frame);
    ASSERT_TRUE(flat.Attach(combo));
    EXPECT_FALSE(flat.IsDocked());
    RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(combo, &client);
    EXPECT_EQ(PixelOf(combo, 0, client.bottom / 2), GetSysColor(COLOR_BTNSHADOW));
    SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(combo, 0, client.bottom / 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(PixelOf(combo, client.right - 1, client.bottom / 2), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(ComboBoxXPTest, InAToolbarItsSelectionFieldTakesTheAskedHeightLessSix) {
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 400, 40,
                                   frame, nullptr, nullptr, nullptr);
    ASSERT_NE(toolbar, nullptr);
    CComboBoxXP flat;
    HWND combo = MakeCombo(toolbar);
    ASSERT_TRUE(flat.Attach(combo));
    EXPECT_TRUE(flat.IsDocked());
    const int field = FieldHeight(combo);
    const int listItem = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    SetWindowPos(combo, nullptr, 0, 0, 150, 30, SWP_NOZORDER | SWP_NOMOVE);
    // Compared with a plain combo box's field set to 30 - 6 (Wine reports it with its border).
    HWND plain = MakeCombo(frame);
    SendMessageW(plain, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 24);
    EXPECT_EQ(FieldHeight(combo), FieldHeight(plain));
    RECT window;
    GetWindowRect(combo, &window);
    EXPECT_EQ(window.bottom - window.top, 7 * GetSystemMetrics(SM_CYBORDER) + 8 * listItem + field)
        << "tall enough for its drop-down list of 8 items";
}

TEST_F(ComboBoxXPTest, WantsEveryKeyWhileEnterIsDown) {
    CComboBoxXP flat;
    HWND combo = MakeCombo(frame);
    ASSERT_TRUE(flat.Attach(combo));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE before = keys[VK_RETURN];
    keys[VK_RETURN] = 0x00;
    SetKeyboardState(keys);
    const auto up = SendMessageW(combo, WM_GETDLGCODE, 0, 0);
    keys[VK_RETURN] = 0x80;
    SetKeyboardState(keys);
    const auto down = SendMessageW(combo, WM_GETDLGCODE, 0, 0);
    keys[VK_RETURN] = before;
    SetKeyboardState(keys);
    EXPECT_EQ(up & DLGC_WANTALLKEYS, 0);
    EXPECT_EQ(down, up | DLGC_WANTALLKEYS);
}

}  // namespace
