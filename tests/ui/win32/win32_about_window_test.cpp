// The About box from the real template 100 (Wine's null display driver), run modally.
#include "ui/win32/win32_about_window.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/recording_shell.h"
#include "ui/about_box.h"

namespace {

// The width of `label`'s text on one line in the label's font.
int TextWidth(HWND label) {
    wchar_t text[128] = {};
    const int length = GetWindowTextW(label, text, 128);
    HDC dc = GetDC(label);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text, length, &size);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    return size.cx;
}

// The template was drawn for a narrower font than the one the labels get here: the maker's name,
// 46 units wide, would wrap its last word out of sight.
TEST(Win32AboutWindowTest, EveryLabelHoldsItsTextOnOneLineInsideTheBox) {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
    if (!probe) GTEST_SKIP() << "no windows can be made here (no display driver)";
    DestroyWindow(probe);

    RecordingShell shell;
    Win32AboutWindow about(GetModuleHandleW(nullptr), shell, "https://example.org/corvell");
    bool shown = false;
    about.Run(nullptr, [&](HWND box) {
        if (!box) return;
        shown = true;
        RECT client;
        GetClientRect(box, &client);
        for (int id :
             {CAboutDialog::kMakerName, CAboutDialog::kVersionLine, CAboutDialog::kNoticeLine}) {
            HWND label = GetDlgItem(box, id);
            RECT r;
            GetWindowRect(label, &r);
            MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_GE(r.right - r.left, TextWidth(label)) << "label " << id;
            EXPECT_LE(r.right, client.right) << "label " << id;
            RECT place{0, 0, 0, 0};
            for (const layout::Control& c : CAboutDialog::Controls()) {
                if (c.id == id) place = {c.x, c.y, c.x + c.width, c.y + c.height};
            }
            MapDialogRect(box, &place);
            EXPECT_EQ(r.left, place.left) << "label " << id << " keeps its place";
            EXPECT_EQ(r.top, place.top) << "label " << id;
            EXPECT_GE(r.right, place.right) << "label " << id << " is never narrower";
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(shown);
}

}  // namespace
