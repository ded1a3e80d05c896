// The flat menus' Windows side on real menus: conversion when a pop-up opens, the answers to the
// measure, draw and menu-character notices, the open menu-bar item's place on the screen, and
// the images the items take from the owner's toolbar.
#include "toolkit/win32/win32_menu_xp.h"

#include <gtest/gtest.h>
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <string>

#include "tests/toolkit/win32/masked_pictures.h"
#include "tests/toolkit/win32/memory_dc.h"
#include "toolkit/hls_color.h"
#include "toolkit/menu_xp.h"
#include "toolkit/win32/accessible_menu_items.h"

namespace {

// The tray's pop-up: "E&xit" at position 6.
HMENU MakeTrayPopup() {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 32779, L"&Open");
    AppendMenuW(menu, MF_STRING, 57664, L"&About Drovane...");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 131, L"&Start");
    AppendMenuW(menu, MF_STRING, 132, L"S&top\tCtrl+T");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 32778, L"E&xit");
    return menu;
}

MENUITEMINFOW Item(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
}

// The packed measures an item's data holds.
std::uint32_t Measures(HMENU menu, UINT position) {
    return accessible_menu_items::Measures(Item(menu, position).dwItemData);
}

class MenuXPWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        CMenuXP::ClearTables();
        CMenuXP::ms_rcMenuBarItem = {};
        owner = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 300,
                                200, nullptr, nullptr, nullptr, nullptr);
        if (!owner) GTEST_SKIP() << "no windows can be made here (no display driver)";
        popup = MakeTrayPopup();
    }
    void TearDown() override {
        if (popup) DestroyMenu(popup);
        if (owner) DestroyWindow(owner);
        CMenuXP::ClearTables();
    }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
        LRESULT result = 0;
        handled = Win32MenuXP::HandleMenuMessage(owner, message, wParam, lParam, result);
        return result;
    }
    void OpenPopup() {
        bool handled = true;
        Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0, handled);
        EXPECT_FALSE(handled) << "the default handling still has its turn";
    }
    // Paints the pop-up's item at `position` (command `command`) into `dc` at rows 20 to 40.
    void DrawPopupItem(const MemoryDc& dc, UINT position, UINT command) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemID = command;
        item.hwndItem = reinterpret_cast<HWND>(popup);
        item.hDC = dc.Get();
        item.rcItem = {0, 20, 180, 40};
        item.itemData = Item(popup, position).dwItemData;
        ASSERT_TRUE(Win32MenuXP::DrawItem(item, owner));
    }
    LRESULT MenuChar(wchar_t character, UINT flags, bool& handled) {
        return Send(WM_MENUCHAR, MAKEWPARAM(character, flags), reinterpret_cast<LPARAM>(popup),
                    handled);
    }

    HWND owner = nullptr;
    HMENU popup = nullptr;
};

TEST_F(MenuXPWin32Test, OnlyAWindowWithThePropertyHasItsPopupsConverted) {
    EXPECT_FALSE(Win32MenuXP::IsOwnerDrawEnabled(owner));
    OpenPopup();
    EXPECT_FALSE(Item(popup, 0).fType & MFT_OWNERDRAW);

    Win32MenuXP::EnableOwnerDraw(owner, true);
    EXPECT_EQ(GetPropW(owner, L"XPWndProp_MenuXP"), reinterpret_cast<HANDLE>(1));
    OpenPopup();
    for (UINT i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(Item(popup, i).fType & MFT_OWNERDRAW);
        EXPECT_NE(Measures(popup, i) & 0xFF, 0u) << "a pop-up item carries its height";
    }
    // Every item carries the same columns; separators their own height only.
    const std::uint32_t data = Measures(popup, 0);
    EXPECT_EQ(Measures(popup, 6), data);
    EXPECT_NE((data >> 8) & 0xFF, 0u) << "the accelerator column of Ctrl+T";
    EXPECT_EQ(Measures(popup, 2) >> 8, 0u);

    Win32MenuXP::EnableOwnerDraw(owner, false);
    EXPECT_FALSE(Win32MenuXP::IsOwnerDrawEnabled(owner));
}

TEST_F(MenuXPWin32Test, APopupIsConvertedOnceAndMeasuredEachTimeItOpens) {
    Win32MenuXP::EnableOwnerDraw(owner, true);
    OpenPopup();
    const std::uint32_t data = Measures(popup, 6);
    // What the menu holds now is no longer read: the toolkit keeps the text it converted.
    ModifyMenuW(popup, 6, MF_BYPOSITION | MF_OWNERDRAW, 32778, nullptr);
    MENUITEMINFOW clear{};
    clear.cbSize = sizeof clear;
    clear.fMask = MIIM_DATA;
    SetMenuItemInfoW(popup, 6, TRUE, &clear);
    OpenPopup();
    EXPECT_EQ(Measures(popup, 6), data) << "measured again";
    bool handled = false;
    EXPECT_EQ(MenuChar(L'x', MF_POPUP, handled), 0x00020006);
    EXPECT_TRUE(handled);
}

TEST_F(MenuXPWin32Test, MenuCharacterFindsTheMnemonicOfTheOwnerDrawnItems) {
    bool handled = true;
    MenuChar(L'x', MF_POPUP, handled);
    EXPECT_FALSE(handled) << "a menu the toolkit did not convert keeps the default";

    Win32MenuXP::EnableOwnerDraw(owner, true);
    OpenPopup();
    EXPECT_EQ(MenuChar(L'x', MF_POPUP, handled), 0x00020006);
    EXPECT_TRUE(handled);
    EXPECT_EQ(MenuChar(L'X', MF_POPUP, handled), 0x00020006);
    EXPECT_EQ(MenuChar(L't', MF_POPUP, handled), 0x00020004) << "S&top, before its tab";
    EXPECT_EQ(MenuChar(L'x', MF_POPUP | MF_SYSMENU, handled), 0);
    EXPECT_TRUE(handled);
    EXPECT_EQ(MenuChar(L'q', MF_POPUP, handled), 0);
}

TEST_F(MenuXPWin32Test, MeasureItemAnswersMenusOnly) {
    bool handled = false;
    MEASUREITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemData = (100u << 16) | (30u << 8) | 20u;
    EXPECT_EQ(Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item), handled), TRUE);
    EXPECT_TRUE(handled);
    EXPECT_EQ(item.itemWidth, 100u + 30u + 42u);
    EXPECT_EQ(item.itemHeight, 20u);
    item.itemData = 37u << 16;  // a menu-bar item
    Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item), handled);
    EXPECT_EQ(item.itemWidth, 41u);
    EXPECT_EQ(item.itemHeight, 0u);

    MEASUREITEMSTRUCT button{};
    button.CtlType = ODT_BUTTON;
    button.itemWidth = 7;
    Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&button), handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(button.itemWidth, 7u);
}

TEST_F(MenuXPWin32Test, DrawsAnItemOffScreenInsideItsRectangleOnly) {
    Win32MenuXP::EnableOwnerDraw(owner, true);
    OpenPopup();
    MemoryDc dc(200, 80);
    dc.Fill({0, 0, 200, 80}, RGB(255, 0, 0));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = 131;
    item.hwndItem = reinterpret_cast<HWND>(popup);
    item.hDC = dc.Get();
    item.rcItem = {0, 20, 180, 40};
    item.itemData = Item(popup, 3).dwItemData;
    const std::uint8_t before = CMenuXP::ms_nDrawCount;
    bool handled = false;
    EXPECT_EQ(Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), handled), TRUE);
    EXPECT_TRUE(handled);
    EXPECT_EQ(static_cast<std::uint8_t>(CMenuXP::ms_nDrawCount - before), 1);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(dc.At(1, 21), HLSTransform(face, 20, 0)) << "the image band";
    EXPECT_EQ(dc.At(175, 38), HLSTransform(face, 75, 0)) << "the paper";
    EXPECT_EQ(dc.At(5, 19), RGB(255, 0, 0)) << "nothing above the item";
    EXPECT_EQ(dc.At(5, 40), RGB(255, 0, 0)) << "nothing below";
    EXPECT_EQ(dc.At(185, 30), RGB(255, 0, 0)) << "nothing right of it";

    item.CtlType = ODT_BUTTON;
    Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), handled);
    EXPECT_FALSE(handled);
}

TEST_F(MenuXPWin32Test, ItemsShowTheImageOfTheToolbarButtonWithTheirCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                   WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0,
                                   200, 30, owner, nullptr, nullptr, nullptr);
    ASSERT_NE(toolbar, nullptr);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    AddMaskedPicture(list, RGB(200, 0, 0));
    AddMaskedPicture(list, RGB(0, 0, 200));
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    // Start shows the second picture, Exit the first; Stop's button has none.
    TBBUTTON buttons[3] = {{1, 131, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
                           {0, 32778, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
                           {I_IMAGENONE, 132, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0}};
    SendMessageW(toolbar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));

    Win32MenuXP::EnableOwnerDraw(owner, true);
    OpenPopup();
    const COLORREF band = HLSTransform(GetSysColor(COLOR_BTNFACE), 20, 0);
    MemoryDc dc(200, 80);
    DrawPopupItem(dc, 3, 131);
    EXPECT_EQ(dc.At(10, 30), RGB(0, 0, 200)) << "Start's picture in the band";
    EXPECT_EQ(dc.At(3, 23), band) << "its transparent corner";
    DrawPopupItem(dc, 6, 32778);
    EXPECT_EQ(dc.At(10, 30), RGB(200, 0, 0)) << "Exit's picture";
    DrawPopupItem(dc, 4, 132);
    EXPECT_EQ(dc.At(10, 30), band) << "a button without a picture gives none";
    DrawPopupItem(dc, 0, 32779);
    EXPECT_EQ(dc.At(10, 30), band) << "Open has no button";

    // A menu converted later takes the pictures as they are then.
    HBITMAP green = MaskedPicture(16, 16, RGB(0, 150, 0));
    ImageList_Replace(list, 1, green, nullptr);
    DeleteObject(green);
    DestroyMenu(popup);
    popup = MakeTrayPopup();
    OpenPopup();
    DrawPopupItem(dc, 3, 131);
    EXPECT_EQ(dc.At(10, 30), RGB(0, 150, 0));

    DestroyWindow(toolbar);
    ImageList_Destroy(list);
}

TEST_F(MenuXPWin32Test, TheMenuBarIsConvertedWithTheWidthsOfItsTexts) {
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Help");
    SetMenu(owner, bar);
    Win32MenuXP::ConvertMenuBar(owner);
    EXPECT_FALSE(Item(bar, 0).fType & MFT_OWNERDRAW) << "not without the property";
    Win32MenuXP::EnableOwnerDraw(owner, true);
    Win32MenuXP::ConvertMenuBar(owner);
    for (UINT i = 0; i < 2; ++i) {
        EXPECT_TRUE(Item(bar, i).fType & MFT_OWNERDRAW);
        EXPECT_EQ(Measures(bar, i) & 0xFFFF, 0u) << "a menu-bar item";
        EXPECT_GT(Measures(bar, i) >> 16, 10u) << "the width of its text";
    }
    EXPECT_TRUE(Win32MenuXP::IsOwnerDrawnMenu(bar));
}

// What a screen reader's menu proxy reads of a converted item: the item data points to an
// MSAAMENUINFO with the item's string; the check mark stays the menu's own state.
TEST_F(MenuXPWin32Test, ConvertedItemsGiveScreenReadersTheirTextsAndStates) {
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&Help");
    SetMenu(owner, bar);
    CheckMenuItem(popup, 3, MF_BYPOSITION | MF_CHECKED);
    Win32MenuXP::EnableOwnerDraw(owner, true);
    Win32MenuXP::ConvertMenuBar(owner);
    OpenPopup();
    OpenPopup();
    const struct {
        HMENU menu;
        UINT position;
        const wchar_t* text;
        bool checked;
    } items[] = {{bar, 0, L"&File", false},   {bar, 1, L"&Help", false},
                 {popup, 0, L"&Open", false}, {popup, 2, L"", false},
                 {popup, 3, L"&Start", true}, {popup, 4, L"S&top\tCtrl+T", false},
                 {popup, 6, L"E&xit", false}};
    for (const auto& item : items) {
        SCOPED_TRACE(item.text);
        const auto* info =
            reinterpret_cast<const MSAAMENUINFO*>(Item(item.menu, item.position).dwItemData);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->dwMSAASignature, static_cast<DWORD>(MSAA_MENU_SIG));
        EXPECT_EQ(std::wstring(info->pszWText, info->cchWText), item.text);
        EXPECT_EQ((GetMenuState(item.menu, item.position, MF_BYPOSITION) & MF_CHECKED) != 0,
                  item.checked);
    }
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = Item(popup, 6).dwItemData;
    Win32MenuXP::MeasureItem(measure);
    EXPECT_EQ(measure.itemHeight, Measures(popup, 6) & 0xFF) << "the measures behind it";
    EXPECT_GT(measure.itemWidth, 42u);
}

TEST_F(MenuXPWin32Test, AnOpenMenuBarItemIsRememberedOnTheScreen) {
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"&File");
    SetMenu(owner, bar);
    Win32MenuXP::EnableOwnerDraw(owner, true);
    Win32MenuXP::ConvertMenuBar(owner);
    RECT first{};
    if (!GetMenuItemRect(owner, bar, 0, &first) || IsRectEmpty(&first)) {
        GTEST_SKIP() << "the menu bar has no place here";
    }
    MemoryDc dc(100, 30);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetSubMenu(bar, 0)));
    item.itemState = ODS_SELECTED;
    item.hwndItem = reinterpret_cast<HWND>(bar);
    item.hDC = dc.Get();
    item.rcItem = {6, 0, 46, 19};
    item.itemData = Item(bar, 0).dwItemData;
    ASSERT_TRUE(Win32MenuXP::DrawItem(item, owner));
    POINT origin{0, 0};
    ClientToScreen(owner, &origin);
    // Not a dialog: no pixel of shift; the tab without its 4-pixel shadow strip.
    EXPECT_EQ(CMenuXP::ms_rcMenuBarItem,
              (Rect{origin.x + 6, first.top, origin.x + 42, first.bottom}));
}

}  // namespace
