// The flat toolbar and status bar over the common controls, and an image list's pictures as the
// painters take them (Wine's null display driver).
#include "toolkit/win32/win32_toolbar_xp.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include "tests/support/win32/frame_window_test.h"
#include "tests/toolkit/win32/masked_pictures.h"
#include "toolkit/hls_color.h"
#include "toolkit/win32/image_list_strip.h"

namespace {

TEST(ImageListStripTest, PicturesSideBySideWithTheirTransparentPixelsInTheKeyColour) {
    HIMAGELIST list = ImageList_Create(4, 3, ILC_COLOR24 | ILC_MASK, 2, 0);
    AddMaskedPicture(list, RGB(200, 0, 0));
    AddMaskedPicture(list, RGB(0, 0, 200));
    const ImageListStrip strip(list);
    ASSERT_NE(strip.Get(), nullptr);
    EXPECT_EQ(strip.Strip().Count(), 2);
    EXPECT_EQ(strip.Strip().imageSize, (Size{4, 3}));
    Canvas& pictures = const_cast<Surface*>(strip.Strip().pictures)->GetCanvas();
    EXPECT_EQ(pictures.GetPixel({2, 1}), RGB(200, 0, 0));
    EXPECT_EQ(pictures.GetPixel({6, 1}), RGB(0, 0, 200)) << "the second picture beside it";
    EXPECT_EQ(pictures.GetPixel({0, 0}), ImageListStrip::kKey);
    EXPECT_EQ(pictures.GetPixel({4, 0}), ImageListStrip::kKey);
    ImageList_Destroy(list);

    EXPECT_EQ(ImageListStrip(nullptr).Get(), nullptr);
}

class FlatBarsTest : public FrameWindowTest {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        FrameWindowTest::SetUp();
    }
};

TEST_F(FlatBarsTest, TheToolbarPaintsItsFaceAndButtonsFlat) {
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NORESIZE, 0, 0, 400,
                                   30, frame, nullptr, nullptr, nullptr);
    ASSERT_NE(toolbar, nullptr);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[3] = {};
    buttons[0] = {I_IMAGENONE, 101, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_BUTTON, {}, 0, 0};
    buttons[1] = {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0};
    buttons[2] = {I_IMAGENONE, 102, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
    SendMessageW(toolbar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
    CToolBarXP flat;
    ASSERT_TRUE(flat.Attach(toolbar));
    UpdateWindow(toolbar);

    RECT checked{}, separator{};
    SendMessageW(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&checked));
    SendMessageW(toolbar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&separator));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(PixelOf(toolbar, 380, 10), HLSTransform(face, 20, 0)) << "the face right of all";
    const int my = (checked.top + checked.bottom) / 2;
    EXPECT_EQ(PixelOf(toolbar, checked.left, my), highlight) << "a checked button's frame";
    EXPECT_EQ(PixelOf(toolbar, (checked.left + checked.right) / 2, my),
              HLSTransform(highlight, 80, -66))
        << "and its fill";
    EXPECT_EQ(PixelOf(toolbar, (separator.left + separator.right) / 2 - 1, separator.top + 4),
              HLSTransform(face, -15, 0))
        << "a separator's line";
}

// A frame that answers the drop-down's command with `answer` and keeps the word it got.
LRESULT CALLBACK DropDownFrame(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        SetPropW(window, L"command", reinterpret_cast<HANDLE>(wParam + 1));
        return reinterpret_cast<LRESULT>(GetPropW(window, L"answer"));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(FlatBarsTest, ADropDownAsksTheFrameWhichDecidesWhetherTheButtonShowsPressed) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &DropDownFrame;
    windowClass.lpszClassName = L"DropDownFrame";
    RegisterClassW(&windowClass);
    HWND owner = CreateWindowExW(0, L"DropDownFrame", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    SetPropW(owner, L"answer", nullptr);
    EXPECT_EQ(CToolBarXP::OnDropDown(owner, 3), TBDDRET_TREATPRESSED);
    EXPECT_EQ(reinterpret_cast<WPARAM>(GetPropW(owner, L"command")) - 1, 0xFFFDu)
        << "the button's negated number, 16 bits";
    SetPropW(owner, L"answer", reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(CToolBarXP::OnDropDown(owner, 3), TBDDRET_DEFAULT);
    RemovePropW(owner, L"answer");
    RemovePropW(owner, L"command");
    DestroyWindow(owner);
}

TEST_F(FlatBarsTest, TheStatusBarsPanesGetAFlatShadowColouredFrame) {
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(bar, nullptr);
    int parts[2] = {150, -1};
    SendMessageW(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    CStatusBarXP flat;
    ASSERT_TRUE(flat.Attach(bar));
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        RECT pane{};
        SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&pane));
        const int my = (pane.top + pane.bottom) / 2;
        EXPECT_EQ(PixelOf(bar, pane.left, my), shadow);
        EXPECT_EQ(PixelOf(bar, pane.right - 1, my), shadow);
        EXPECT_EQ(PixelOf(bar, (pane.left + pane.right) / 2, pane.bottom - 1), shadow);
    }
}

}  // namespace
