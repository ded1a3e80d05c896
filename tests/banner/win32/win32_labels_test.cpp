// The link and transparent labels over real static controls (Wine's null display driver).
#include <gtest/gtest.h>
#include <windows.h>

// clang-format off
#include <oleacc.h>
// clang-format on

#include <optional>
#include <string>

#include "banner/win32/win32_link_static.h"
#include "banner/win32/win32_transparent_static.h"
#include "tests/support/recording_shell.h"

namespace {

class LabelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        if (!parent) GTEST_SKIP() << "no windows can be made here (no display driver)";
        control = CreateWindowExW(0, L"STATIC", L"Corvell Co LTD", WS_CHILD | WS_VISIBLE | SS_LEFT,
                                  10, 10, 200, 20, parent, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        if (parent) DestroyWindow(parent);
    }
    LONG_PTR Style() const { return GetWindowLongPtrW(control, GWL_STYLE); }
    std::wstring Text() const {
        wchar_t text[64] = {};
        GetWindowTextW(control, text, 64);
        return text;
    }

    HWND parent = nullptr;
    HWND control = nullptr;
    RecordingShell shell;
};

TEST_F(LabelsTest, ColourAnswerCarriesTheLogicsColoursFontAndBrush) {
    Win32LinkStatic label(control, shell);
    label.Logic().SetForeColor(0xFF0000).SetBackColor(0xFFFFFF).SetUnderline(true);
    HDC dc = CreateCompatibleDC(nullptr);
    SetBkMode(dc, OPAQUE);
    HBRUSH brush = label.CtlColor(dc);
    EXPECT_EQ(GetTextColor(dc), 0xFF0000u);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    LOGBRUSH fill{};
    GetObjectW(brush, sizeof fill, &fill);
    EXPECT_EQ(fill.lbColor, 0xFFFFFFu);

    LOGFONTW selected{}, given{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof selected, &selected);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof given,
               &given);
    EXPECT_TRUE(selected.lfUnderline);
    EXPECT_TRUE(given.lfUnderline) << "the control draws with the underlined font";
    DeleteDC(dc);

    label.Logic().SetBackColor(0x00FF00);
    HDC dc2 = CreateCompatibleDC(nullptr);
    GetObjectW(label.CtlColor(dc2), sizeof fill, &fill);
    EXPECT_EQ(fill.lbColor, 0x00FF00u) << "a new colour, a new brush";
    DeleteDC(dc2);
}

TEST_F(LabelsTest, LinkTakesClicksOpensTheAddressAndShowsTheHand) {
    Win32LinkStatic label(control, shell);
    EXPECT_FALSE(Style() & SS_NOTIFY);
    label.Logic().SetLinkAddress(true, "https://example.org/corvell").SetHoverCursor(158);
    EXPECT_TRUE(Style() & SS_NOTIFY) << "a static without it passes clicks to its parent";
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(shell.opened, std::vector<std::string>{"https://example.org/corvell"});
    EXPECT_EQ(SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    label.Logic().SetLinkAddress(false, "https://example.org/corvell");
    EXPECT_FALSE(Style() & SS_NOTIFY);
    EXPECT_EQ(Style() & SS_TYPEMASK, static_cast<LONG_PTR>(SS_LEFT)) << "nothing else changed";
}

// What a screen reader gets of the control: role, name and state, or nothing (the default).
struct Announced {
    long role = 0;
    std::wstring name;
    long state = 0;
};
std::optional<Announced> Announce(HWND control) {
    const LRESULT answer = SendMessageW(control, WM_GETOBJECT, 0, OBJID_CLIENT);
    IAccessible* object = nullptr;
    if (answer <= 0 || FAILED(ObjectFromLresult(answer, __uuidof(IAccessible), 0,
                                                reinterpret_cast<void**>(&object)))) {
        return std::nullopt;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Announced announced;
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(object->get_accRole(self, &value))) announced.role = value.lVal;
    if (SUCCEEDED(object->get_accState(self, &value))) announced.state = value.lVal;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK) {
        announced.name.assign(name, SysStringLen(name));
        SysFreeString(name);
    }
    object->Release();
    return announced;
}

// A link is a link for the keyboard and for screen readers too: a tab stop that Enter and Space
// open, announced as a link. A label that stops being one is a plain label again.
TEST_F(LabelsTest, LinkIsReachedAndOpenedByTheKeyboardAndAnnouncedAsALink) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Win32LinkStatic label(control, shell);
    for (const bool link : {true, false}) {
        SCOPED_TRACE(link ? "link" : "plain label");
        label.Logic().SetLinkAddress(link, "https://example.org/corvell");
        EXPECT_EQ((Style() & WS_TABSTOP) != 0, link);
        MSG enter{control, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        EXPECT_EQ(
            (SendMessageW(control, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
             DLGC_WANTMESSAGE) != 0,
            link)
            << "Enter is the link's, not the default button's";
        const struct {
            WPARAM key;
            bool opens;
        } keys[] = {{VK_RETURN, true}, {VK_SPACE, true}, {'A', false}, {VK_TAB, false}};
        for (const auto& key : keys) {
            shell.opened.clear();
            SendMessageW(control, WM_KEYDOWN, key.key, 1);
            EXPECT_EQ(shell.opened.size(), key.opens && link ? 1u : 0u) << key.key;
        }
        const std::optional<Announced> announced = Announce(control);
        ASSERT_EQ(announced.has_value(), link);
        if (!link) continue;
        EXPECT_EQ(announced->role, ROLE_SYSTEM_LINK);
        EXPECT_EQ(announced->name, L"Corvell Co LTD");
        EXPECT_EQ(announced->state & (STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE),
                  STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE);
    }
    CoUninitialize();
}

TEST_F(LabelsTest, BlinkTicksHideAndShowTheText) {
    Win32LinkStatic label(control, shell);
    label.Logic().BlinkText(true);
    SendMessageW(control, WM_TIMER, Win32LinkStatic::kBlinkTimer, 0);
    EXPECT_EQ(Text(), L"");
    SendMessageW(control, WM_TIMER, Win32LinkStatic::kBlinkTimer, 0);
    EXPECT_EQ(Text(), L"Corvell Co LTD");
    SendMessageW(control, WM_TIMER, Win32LinkStatic::kBlinkTimer, 0);
    label.Logic().BlinkText(false);
    EXPECT_EQ(Text(), L"Corvell Co LTD") << "stopping gives the text back";
}

TEST_F(LabelsTest, TransparentLabelDrawsLettersOverWhatIsThere) {
    CTransparentStatic transparent;
    ASSERT_TRUE(transparent.Attach(control));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const COLORREF gradient = RGB(233, 230, 212);
    HBRUSH fill = CreateSolidBrush(gradient);
    RECT all{0, 0, 200, 20};
    FillRect(dc, &all, fill);
    CTransparentStatic::PaintText(control, dc);
    int letters = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 200; ++x) letters += GetPixel(dc, x, y) != gradient;
    }
    EXPECT_GT(letters, 20);
    EXPECT_EQ(GetPixel(dc, 199, 19), gradient) << "no background of its own";
    EXPECT_EQ(GetPixel(dc, 0, 19), gradient);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteObject(fill);
    DeleteDC(dc);
}

}  // namespace
