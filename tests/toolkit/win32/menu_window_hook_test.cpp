// The menu windows' hook: its install count, the subclassing of the pop-up menu windows that open
// while a window with XPWndProp_MenuXP is in the foreground, their frames, and the shadow strips
// darkened from one context into another.
#include "toolkit/win32/menu_window_hook.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "tests/toolkit/win32/memory_dc.h"
#include "toolkit/hls_color.h"
#include "toolkit/win32/win32_menu_xp.h"

namespace {

TEST(CMenuWindowHookTest, NestedInstallsLeaveOneHookUntilTheLastRemove) {
    ASSERT_FALSE(CMenuWindowHook::IsHookInstalled());
    CMenuWindowHook::InstallHook();
    ASSERT_TRUE(CMenuWindowHook::IsHookInstalled());
    CMenuWindowHook::InstallHook();
    CMenuWindowHook::RemoveHook();
    EXPECT_TRUE(CMenuWindowHook::IsHookInstalled()) << "the first of two removes keeps it";
    CMenuWindowHook::RemoveHook();
    EXPECT_FALSE(CMenuWindowHook::IsHookInstalled());
    CMenuWindowHook::RemoveHook();
    EXPECT_FALSE(CMenuWindowHook::IsHookInstalled()) << "a third remove does nothing";
    CMenuWindowHook::InstallHook();
    EXPECT_TRUE(CMenuWindowHook::IsHookInstalled()) << "a new hook after all were removed";
    CMenuWindowHook::RemoveHook();
    EXPECT_FALSE(CMenuWindowHook::IsHookInstalled()) << "no count was left from the extra remove";
}

TEST(CMenuWindowHookTest, TheShadowIsReadFromOneContextAndWrittenToTheOther) {
    constexpr int W = 40;
    constexpr int H = 30;
    MemoryDc behind(W, H);
    MemoryDc window(W, H);
    behind.Fill({0, 0, W, H}, RGB(200, 100, 50));
    window.Fill({0, 0, W, H}, RGB(255, 0, 0));
    CMenuWindowHook::DrawShadow(behind.Get(), window.Get(), W, H);
    const auto shade = [](int percent) {
        return RGB(200 * percent / 100, 100 * percent / 100, 50 * percent / 100);
    };
    EXPECT_EQ(window.At(W - 4, 15), shade(78)) << "next to the menu";
    EXPECT_EQ(window.At(W - 1, 15), shade(93)) << "at the outer edge";
    EXPECT_EQ(window.At(15, H - 3), shade(83));
    EXPECT_EQ(window.At(W - 4, 7), shade(78));
    EXPECT_EQ(window.At(W - 1, 5), RGB(255, 0, 0)) << "the rounded end is left alone";
    EXPECT_EQ(window.At(W - 4, 3), RGB(255, 0, 0)) << "above the strip";
    EXPECT_EQ(window.At(W - 5, 15), RGB(255, 0, 0)) << "the menu itself";
    EXPECT_EQ(behind.At(W - 4, 15), RGB(200, 100, 50)) << "the source stays as it was";
}

// A visible window that calls `onTimer` once from a menu's modal loop.
class MenuOwner {
public:
    MenuOwner() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &MenuOwner::Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"MenuHookTestOwner";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, L"MenuHookTestOwner", L"", WS_POPUP | WS_VISIBLE, 50, 50, 200,
                                   100, nullptr, nullptr, windowClass.hInstance, this);
    }
    ~MenuOwner() {
        if (m_window) DestroyWindow(m_window);
    }
    HWND Window() const { return m_window; }

    // Opens `menu` at (100, 100) and runs `inside` while it shows; then closes it.
    void Track(HMENU menu, std::function<void()> inside) {
        m_inside = std::move(inside);
        SetTimer(m_window, 1, 200, nullptr);
        TrackPopupMenu(menu, 0, 100, 100, 0, m_window, nullptr);
        KillTimer(m_window, 1);
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<MenuOwner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_TIMER) {
            KillTimer(window, 1);
            if (self->m_inside) self->m_inside();
            EndMenu();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND m_window = nullptr;
    std::function<void()> m_inside;
};

class MenuWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!owner.Window()) GTEST_SKIP() << "no windows can be made here (no display driver)";
        SetForegroundWindow(owner.Window());
        if (GetForegroundWindow() != owner.Window()) GTEST_SKIP() << "no foreground window here";
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 131, L"&Start");
        AppendMenuW(menu, MF_STRING, 32778, L"E&xit");
        CMenuWindowHook::InstallHook();
    }
    void TearDown() override {
        CMenuWindowHook::RemoveHook();
        if (menu) DestroyMenu(menu);
    }

    MenuOwner owner;
    HMENU menu = nullptr;
};

TEST_F(MenuWindowsTest, AMenuOfAWindowWithThePropertyGetsTheToolkitsProcedureWhileItShows) {
    Win32MenuXP::EnableOwnerDraw(owner.Window(), true);
    HWND shown = nullptr;
    bool subclassed = false;
    int records = 0;
    owner.Track(menu, [&] {
        shown = FindWindowW(L"#32768", nullptr);
        subclassed = shown && GetPropW(shown, CMenuWindowHook::kOldProcProperty) != nullptr;
        records = CMenuWindowHook::RecordCount();
    });
    ASSERT_NE(shown, nullptr) << "the menu showed";
    EXPECT_TRUE(subclassed);
    EXPECT_EQ(records, 1);
    EXPECT_EQ(CMenuWindowHook::RecordCount(), 0) << "the record goes when the menu hides";
    if (IsWindow(shown)) {
        EXPECT_EQ(GetPropW(shown, CMenuWindowHook::kOldProcProperty), nullptr)
            << "and the window has its own procedure back";
    }
}

TEST_F(MenuWindowsTest, AMenuOfAWindowWithoutThePropertyKeepsTheSystemsLook) {
    Win32MenuXP::EnableOwnerDraw(owner.Window(), false);
    HWND shown = nullptr;
    bool subclassed = true;
    owner.Track(menu, [&] {
        shown = FindWindowW(L"#32768", nullptr);
        subclassed = shown && GetPropW(shown, CMenuWindowHook::kOldProcProperty) != nullptr;
    });
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(subclassed);
    EXPECT_EQ(CMenuWindowHook::RecordCount(), 0);
}

// Where a menu showed, its client area and what it printed of its left border.
struct Shown {
    RECT window{};
    RECT client{};
    COLORREF border[3] = {};
    COLORREF shownBorder = 0;  // the window's left edge after it painted itself
};

Shown ShowAndPrint(MenuOwner& owner, HMENU menu) {
    Shown shown;
    owner.Track(menu, [&] {
        HWND window = FindWindowW(L"#32768", nullptr);
        if (!window) return;
        GetWindowRect(window, &shown.window);
        GetClientRect(window, &shown.client);
        const int W = shown.window.right - shown.window.left;
        const int H = shown.window.bottom - shown.window.top;
        MemoryDc printed(W, H);
        SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(printed.Get()),
                     PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        for (int x = 0; x < 3; ++x) shown.border[x] = printed.At(x, H / 2);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        HDC dc = GetWindowDC(window);
        shown.shownBorder = GetPixel(dc, 0, H / 2);
        ReleaseDC(window, dc);
    });
    return shown;
}

TEST_F(MenuWindowsTest, AMenuMakesRoomForItsShadowMovesUpOnePixelAndPrintsItsFrame) {
    Win32MenuXP::EnableOwnerDraw(owner.Window(), false);
    const Shown plain = ShowAndPrint(owner, menu);
    Win32MenuXP::EnableOwnerDraw(owner.Window(), true);
    const Shown flat = ShowAndPrint(owner, menu);
    ASSERT_GT(plain.window.right, plain.window.left);
    ASSERT_GT(flat.window.right, flat.window.left);

    const int room = CMenuWindowHook::WithShadows() ? CMenuWndXP::kShadow : 0;
    EXPECT_EQ(flat.window.right - flat.window.left, plain.window.right - plain.window.left + room);
    EXPECT_EQ(flat.window.bottom - flat.window.top, plain.window.bottom - plain.window.top + room);
    EXPECT_EQ(flat.window.top, plain.window.top - 1);
    EXPECT_EQ(flat.window.left, plain.window.left);
    EXPECT_EQ(flat.client.right, plain.client.right) << "the shadow is outside the client area";
    EXPECT_EQ(flat.client.bottom, plain.client.bottom);

    const COLORREF paper = HLSTransform(GetSysColor(COLOR_BTNFACE), 75, 0);
    EXPECT_EQ(flat.border[0], GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(flat.border[1], paper);
    EXPECT_EQ(flat.border[2], paper);
    EXPECT_EQ(flat.shownBorder, GetSysColor(COLOR_3DDKSHADOW))
        << "the outline stays over a border the menu paints in its client area";
}

}  // namespace
