// The main dialog's view over the real template 102, made with Wine's null display driver.
#include "ui/win32/win32_dialog_view.h"

#include <gtest/gtest.h>

#include "banner/win32/win32_animated_picture.h"
#include "ui/banner_placement.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/repeller_dialog.h"

namespace {

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class Win32DialogViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog =
            CreateDialogParamW(nullptr, MAKEINTRESOURCEW(ids::kMainDialog), nullptr, &Quiet, 0);
        if (!dialog) GTEST_SKIP() << "no windows can be made here (no display driver)";
        view.Attach(dialog);
    }
    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
    }

    HWND dialog = nullptr;
    int aboutOpened = 0;
    Win32DialogView view{GetModuleHandleW(nullptr), "drovane-test",
                         [this](HWND) { ++aboutOpened; }};
};

TEST_F(Win32DialogViewTest, TextsChecksAndRectanglesOfTheControls) {
    EXPECT_EQ(view.GetItemText(ids::kSoundTestLabel), "Speaker test");
    view.SetItemText(ids::kDetails, "작게보기 <<");
    EXPECT_EQ(view.GetItemText(ids::kDetails), "작게보기 <<");
    view.SetItemText(ids::kFrequency1, "16000");
    EXPECT_EQ(view.GetItemText(ids::kFrequency1), "16000");

    EXPECT_EQ(view.GetCheck(ids::kRunAtLogon), 0);
    view.SetCheck(ids::kRunAtLogon, 1);
    EXPECT_EQ(view.GetCheck(ids::kRunAtLogon), 1);

    for (int id : {ids::kStart, ids::kBanner, ids::kRunAtLogonLabel}) {
        const layout::Control* c = layout::FindControl(id);
        // Windows maps a control's position and its size each on its own.
        RECT place{c->x, c->y, c->width, c->height};
        MapDialogRect(dialog, &place);
        EXPECT_EQ(view.GetItemRect(id),
                  (Rect{place.left, place.top, place.left + place.right, place.top + place.bottom}))
            << "control " << id << " in client pixels";
    }

    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, ids::kSet)));
    view.ShowItem(ids::kSet, true);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, ids::kSet)));
}

// The fold's captions come from the string table of the window's language.
TEST(Win32DialogViewTextTest, FoldCaptionsInTheWindowsLanguage) {
    const struct {
        LANGID language;
        std::string details, less;
    } cases[] = {
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), "Details >>", "Less <<"},
        {MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), "상세보기 >>", "작게보기 <<"},
    };
    for (const auto& c : cases) {
        const auto noAbout = [](HWND) {};
        Win32DialogView view(GetModuleHandleW(nullptr), "drovane-test", noAbout, c.language);
        EXPECT_EQ(view.Text(UiText::Details), c.details);
        EXPECT_EQ(view.Text(UiText::Less), c.less);
    }
}

TEST_F(Win32DialogViewTest, ResizeKeepsThePlaceAndTheRegionTrimsTheFrame) {
    SetWindowPos(dialog, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const Size before = view.GetWindowSize();
    view.SetWindowSize({before.width, before.height - 122});
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ((std::vector<long>{r.left, r.top, r.bottom - r.top}),
              (std::vector<long>{40, 30, before.height - 122}));

    const Size size = view.GetWindowSize();
    view.SetWindowRegion({1, 1, size.width - 1, size.height - 1});
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(dialog, region), SIMPLEREGION);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ((std::vector<long>{box.left, box.top, box.right, box.bottom}),
              (std::vector<long>{1, 1, size.width - 1, size.height - 1}));
    DeleteObject(region);
}

TEST_F(Win32DialogViewTest, MarkSystemMenuAndAboutBox) {
    view.MarkRunningCopy();
    EXPECT_EQ(GetPropW(dialog, L"drovane-test"), reinterpret_cast<HANDLE>(1234));

    view.AppendSystemMenuItem(CRepellerDialog::kSystemAboutCommand, "ignored");
    HMENU menu = GetSystemMenu(dialog, FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), 16u);
    EXPECT_EQ(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR));
    wchar_t text[64] = {};
    GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&About Drovane...") << "string 101 of the resources";

    view.ShowAboutBox();
    EXPECT_EQ(aboutOpened, 1);
    HWND other = CreateWindowExW(0, L"STATIC", L"about", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    view.SetAboutBox(other);
    view.ShowAboutBox();
    EXPECT_EQ(aboutOpened, 1) << "a shown box is brought forward, not opened again";
    DestroyWindow(other);
}

// The banner from the program's resources takes over control 1010: the picture placed for the
// dialog's font, animating until the window goes.
TEST_F(Win32DialogViewTest, BannerFromTheResourcesAnimatesInTheBannerControl) {
    ASSERT_TRUE(view.LoadBanner(168, "GIF"));
    EXPECT_EQ(view.GetItemRect(ids::kBanner),
              PlaceBanner(view.MapDialogUnits(layout::kReferenceUnits), {300, 100}).shown);
    ASSERT_NE(view.Banner(), nullptr);
    EXPECT_EQ(view.Banner()->Control(), GetDlgItem(dialog, ids::kBanner));
    view.StartBanner();
    EXPECT_TRUE(view.Banner()->Picture().IsAnimating());
    EXPECT_FALSE(view.LoadBanner(169, "GIF")) << "no such resource";

    DestroyWindow(dialog);
    dialog = nullptr;
    EXPECT_FALSE(view.Banner()->Picture().IsAnimating());
}

}  // namespace
