// A shown top-level window for the controls a test makes, and a pixel of a window as it is drawn.
// Without a display driver no window can be made, and the test skips itself.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

class FrameWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
        if (!frame) GTEST_SKIP() << "no windows can be made here (no display driver)";
    }
    void TearDown() override {
        if (frame) DestroyWindow(frame);
    }
    HWND frame = nullptr;
};

inline COLORREF PixelOf(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}
