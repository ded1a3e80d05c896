// The flat button on a real button control: its style, its hover notices and its repaints, and
// the painting it does for the record its dialog hands it (Wine's null display driver).
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include "tests/support/win32/frame_window_test.h"
#include "tests/toolkit/win32/memory_dc.h"
#include "toolkit/owner_draw.h"
#include "toolkit/win32/win32_canvas.h"
#include "toolkit/win32/win32_xp_button.h"

namespace {

constexpr int kWidth = 75;
constexpr int kHeight = 23;

// Counts the erasures a button is asked for.
LRESULT CALLBACK CountErasures(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR count) {
    if (message == WM_ERASEBKGND) ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(window, message, wParam, lParam);
}

class XPButtonWindowTest : public FrameWindowTest {
protected:
    HWND MakeButton(DWORD style, const wchar_t* text = L"Start") {
        return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, 10, 10, kWidth,
                               kHeight, frame, nullptr, nullptr, nullptr);
    }
    // Whether the button has a repaint pending, and whether it asks for erasing; clears both.
    struct Pending {
        bool repaint;
        bool erase;
    };
    Pending TakeRepaint(HWND button) {
        int erased = 0;
        SetWindowSubclass(button, &CountErasures, 1, reinterpret_cast<DWORD_PTR>(&erased));
        RECT r;
        const bool repaint = GetUpdateRect(button, &r, FALSE) != FALSE;
        // The button's paint erases first exactly when erasing was asked for.
        UpdateWindow(button);
        RemoveWindowSubclass(button, &CountErasures, 1);
        return {repaint, erased > 0};
    }
    // Has the button paint a record of `state` into a memory bitmap.
    void PaintInto(const MemoryDc& dc, HWND button, unsigned state) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = button;
        item.hDC = dc.Get();
        item.itemState = state;
        item.rcItem = {0, 0, kWidth, kHeight};
        EXPECT_TRUE(Win32XPButton::ReflectDrawItem(item));
    }
};

TEST_F(XPButtonWindowTest, AnyButtonItIsAttachedToBecomesOwnerDrawn) {
    for (const DWORD style : {BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_CHECKBOX, BS_AUTOCHECKBOX}) {
        SCOPED_TRACE(style);
        Win32XPButton flat;
        HWND button = MakeButton(style);
        ASSERT_TRUE(flat.Attach(button));
        EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    }
    Win32XPButton none;
    EXPECT_FALSE(none.Attach(nullptr));
}

TEST_F(XPButtonWindowTest, HoverComesWithTheHoverNoticeAndGoesWhenTheMouseLeaves) {
    Win32XPButton flat;
    HWND button = MakeButton(BS_PUSHBUTTON);
    ASSERT_TRUE(flat.Attach(button));
    UpdateWindow(button);
    ValidateRect(button, nullptr);

    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(flat.Look().IsTracking()) << "the hover and leave notices were asked for";
    EXPECT_FALSE(flat.Look().IsHover());
    EXPECT_FALSE(TakeRepaint(button).repaint) << "moving alone repaints nothing";

    EXPECT_EQ(SendMessageW(button, WM_MOUSEHOVER, 0, MAKELPARAM(5, 5)), 1);
    EXPECT_TRUE(flat.Look().IsHover());
    Pending pending = TakeRepaint(button);
    EXPECT_TRUE(pending.repaint);
    EXPECT_TRUE(pending.erase) << "entering repaints with erasing";

    EXPECT_EQ(SendMessageW(button, WM_MOUSELEAVE, 0, 0), 0);
    EXPECT_FALSE(flat.Look().IsHover());
    EXPECT_FALSE(flat.Look().IsTracking()) << "the next move asks again";
    pending = TakeRepaint(button);
    EXPECT_TRUE(pending.repaint);
    EXPECT_FALSE(pending.erase) << "leaving repaints without erasing";
}

TEST_F(XPButtonWindowTest, PaintsTheRecordItIsHandedAsThePainterDoesWithItsLabelAndEdges) {
    Win32XPButton flat;
    HWND button = MakeButton(BS_PUSHBUTTON, L"\xC2DC\xC791");  // 시작
    ASSERT_TRUE(flat.Attach(button));
    const Size edge{GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE)};
    struct Case {
        unsigned state;
        bool hover;
    };
    for (const Case c : {Case{0, false}, Case{ods::kFocus, false}, Case{ods::kSelected, false},
                         Case{ods::kFocus, true}, Case{ods::kDisabled, false}}) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << (c.hover ? " hover" : ""));
        if (c.hover) SendMessageW(button, WM_MOUSEHOVER, 0, 0);
        MemoryDc painted(kWidth, kHeight);
        PaintInto(painted, button, c.state);

        MemoryDc expected(kWidth, kHeight);
        CXPButton look;
        if (c.hover) look.OnMouseHover();
        {
            Win32Canvas canvas(expected.Get());
            look.DrawItem(canvas, {0, 0, kWidth, kHeight}, c.state, "\xEC\x8B\x9C\xEC\x9E\x91",
                          edge);
        }
        int differing = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) differing += painted.At(x, y) != expected.At(x, y);
        }
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(painted.At(0, 0), CXPButton::kGround);
        if (c.hover) {
            EXPECT_EQ(painted.At(edge.width, kHeight / 2), CXPButton::kHoverFrame.left.color)
                << "under the mouse the frame is orange, focused or not";
        } else if (c.state & ods::kFocus) {
            EXPECT_EQ(painted.At(edge.width, kHeight / 2), CXPButton::kFocusFrame.left.color);
        }
        if (c.hover) SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    }
}

TEST_F(XPButtonWindowTest, PaintsOnlyInsideTheTargetsClipBox) {
    Win32XPButton flat;
    HWND button = MakeButton(BS_PUSHBUTTON);
    ASSERT_TRUE(flat.Attach(button));
    MemoryDc dc(kWidth, kHeight);
    dc.Fill({0, 0, kWidth, kHeight}, RGB(255, 0, 0));
    IntersectClipRect(dc.Get(), 10, 0, 40, kHeight);
    PaintInto(dc, button, 0);
    SelectClipRgn(dc.Get(), nullptr);
    EXPECT_EQ(dc.At(9, 1), RGB(255, 0, 0));
    EXPECT_EQ(dc.At(40, 1), RGB(255, 0, 0));
    EXPECT_NE(dc.At(20, kHeight / 2), RGB(255, 0, 0));
    EXPECT_EQ(dc.At(20, 0), CXPButton::kOutline) << "the outline's top row, in place";
}

TEST_F(XPButtonWindowTest, WhatItLeavesOfTheClipBoxShowsTheTargetsBackground) {
    Win32XPButton flat;
    HWND button = MakeButton(BS_PUSHBUTTON);
    ASSERT_TRUE(flat.Attach(button));
    MemoryDc dc(kWidth + 10, kHeight);
    dc.Fill({0, 0, kWidth + 10, kHeight}, RGB(255, 0, 0));
    SetBkColor(dc.Get(), RGB(0, 128, 0));
    PaintInto(dc, button, 0);
    EXPECT_EQ(dc.At(kWidth + 5, 1), RGB(0, 128, 0));
    EXPECT_EQ(dc.At(kWidth - 1, 0), CXPButton::kGround)
        << "the button itself as the painter has it";
}

TEST_F(XPButtonWindowTest, OnlyFlatButtonsTakeTheirRecords) {
    HWND plain = MakeButton(BS_OWNERDRAW);
    MemoryDc dc(kWidth, kHeight);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = plain;
    item.hDC = dc.Get();
    item.rcItem = {0, 0, kWidth, kHeight};
    EXPECT_FALSE(Win32XPButton::ReflectDrawItem(item)) << "an owner-drawn button of its own";
    Win32XPButton flat;
    ASSERT_TRUE(flat.Attach(plain));
    item.CtlType = ODT_MENU;
    EXPECT_FALSE(Win32XPButton::ReflectDrawItem(item)) << "a menu's record";
    item.CtlType = ODT_BUTTON;
    EXPECT_TRUE(Win32XPButton::ReflectDrawItem(item));
    flat.Detach();
    EXPECT_FALSE(Win32XPButton::ReflectDrawItem(item)) << "a detached button";
}

}  // namespace
