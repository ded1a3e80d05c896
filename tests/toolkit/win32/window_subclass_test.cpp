// The subclass helper on a real static control (Wine's null display driver).
#include "toolkit/win32/window_subclass.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <vector>

namespace {

class WindowSubclassTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExW(0, L"STATIC", L"four", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                 nullptr, nullptr);
        if (!window) GTEST_SKIP() << "no windows can be made here (no display driver)";
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
    }
    // A handler that answers the text length with `length` and leaves the rest to the window.
    WindowSubclass::Handler Answering(LRESULT length) {
        return [this, length](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            seen.push_back(message);
            if (message == WM_GETTEXTLENGTH) return length;
            return std::nullopt;
        };
    }
    LRESULT TextLength() const { return SendMessageW(window, WM_GETTEXTLENGTH, 0, 0); }

    HWND window = nullptr;
    std::vector<UINT> seen;
};

TEST_F(WindowSubclassTest, AnswersWhatItHandlesAndLeavesTheRestToTheWindowUntilItGoes) {
    {
        WindowSubclass outer;
        ASSERT_TRUE(outer.Attach(window, Answering(7)));
        EXPECT_EQ(TextLength(), 7);
        wchar_t text[8] = {};
        GetWindowTextW(window, text, 8);
        EXPECT_STREQ(text, L"four") << "what it leaves goes to the window's own procedure";
        {
            WindowSubclass inner;
            ASSERT_TRUE(inner.Attach(window, Answering(9)));
            EXPECT_EQ(TextLength(), 9) << "the latest is asked first";
        }
        EXPECT_EQ(TextLength(), 7) << "each lets go of its own attachment only";
    }
    EXPECT_EQ(TextLength(), 4);
    WindowSubclass none;
    EXPECT_FALSE(none.Attach(nullptr, Answering(1)));
}

TEST_F(WindowSubclassTest, LetsGoWhenTheWindowGoesAndSeesItGo) {
    WindowSubclass subclass;
    ASSERT_TRUE(subclass.Attach(window, Answering(7)));
    DestroyWindow(window);
    EXPECT_EQ(subclass.Window(), nullptr);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

}  // namespace
