// The banner control over a real static control (Wine's null display driver): its size and place,
// its painting, the animation thread's repaint requests, the mouse, and its end with the window.
#include "banner/win32/win32_animated_picture.h"

#include <gtest/gtest.h>

#include <memory>

#include "res/embedded_resources.h"
#include "tests/banner/picture_fakes.h"
#include "tests/support/win32/frame_window_test.h"
#include "toolkit/win32/win32_surface.h"

namespace {

using picture_test::FakeFrameWaiter;

class Win32AnimatedPictureTest : public FrameWindowTest {
protected:
    void SetUp() override {
        FrameWindowTest::SetUp();
        if (IsSkipped()) return;
        // Where the main dialog's template puts the banner, at its size in dialog units.
        control = CreateWindowExW(0, L"STATIC", L"Banner ...", WS_CHILD | WS_VISIBLE | SS_LEFT, 27,
                                  3, 132, 50, frame, nullptr, nullptr, nullptr);
        ASSERT_TRUE(banner.Attach(control));
    }

    RECT PlaceInFrame() const {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // What the control paints, over a surface filled with `under`.
    std::unique_ptr<Win32Surface> Printed(Color under) const {
        std::unique_ptr<Win32Surface> surface = Win32Surface::Create({300, 100});
        surface->GetCanvas().FillSolidRect({0, 0, 300, 100}, under);
        SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface->Dc()), PRF_CLIENT);
        return surface;
    }

    HWND control = nullptr;
    std::shared_ptr<FakeFrameWaiter> waiter = std::make_shared<FakeFrameWaiter>();
    Win32AnimatedPicture banner{waiter};
};

testing::AssertionResult SameSurface(Win32Surface& actual, Win32Surface& expected) {
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 300; ++x) {
            const Color a = actual.GetCanvas().GetPixel({x, y});
            const Color e = expected.GetCanvas().GetPixel({x, y});
            if (a != e) {
                return testing::AssertionFailure()
                       << "(" << x << ", " << y << ") is " << std::hex << a << ", not " << e;
            }
        }
    }
    return testing::AssertionSuccess();
}

TEST_F(Win32AnimatedPictureTest, TakesThePicturesSizeInPlaceAndPaintsOnlyTheCanvas) {
    const Color under = Rgb(1, 2, 3);
    const std::unique_ptr<Win32Surface> empty = Printed(under);
    EXPECT_EQ(empty->GetCanvas().GetPixel({5, 5}), under) << "no text of its own before a load";
    EXPECT_EQ(empty->GetCanvas().GetPixel({60, 8}), under);

    ASSERT_TRUE(banner.LoadFromResource(EmbeddedResources(), 168, "GIF"));
    const RECT place = PlaceInFrame();
    EXPECT_EQ((std::vector<long>{place.left, place.top, place.right, place.bottom}),
              (std::vector<long>{27, 3, 327, 103}));

    ASSERT_TRUE(banner.StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(1));
    std::unique_ptr<Win32Surface> canvas = Win32Surface::Create({300, 100});
    banner.Picture().Paint(canvas->GetCanvas());
    EXPECT_TRUE(SameSurface(*Printed(under), *canvas));
}

// The window's thread is busy in the test and reads no messages while the animation thread
// draws the next frame: the request must reach the window as an area to paint, without the
// animation thread waiting for the window's thread.
TEST_F(Win32AnimatedPictureTest, AnimationThreadMarksTheControlForAPaint) {
    ASSERT_TRUE(banner.LoadFromResource(EmbeddedResources(), 168, "GIF"));
    ASSERT_TRUE(banner.StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(1));
    ValidateRect(control, nullptr);
    RECT update;
    ASSERT_FALSE(GetUpdateRect(control, &update, FALSE));
    ASSERT_TRUE(waiter->RunTo(2));
    ASSERT_TRUE(GetUpdateRect(control, &update, FALSE));
    EXPECT_EQ((std::vector<long>{update.left, update.top, update.right, update.bottom}),
              (std::vector<long>{0, 0, 300, 100}));
}

TEST_F(Win32AnimatedPictureTest, MouseGoesToTheDialogAndTheAnimationEndsWithTheWindow) {
    EXPECT_EQ(SendMessageW(control, WM_NCHITTEST, 0, MAKELPARAM(60, 30)), HTTRANSPARENT);
    ASSERT_TRUE(banner.LoadFromResource(EmbeddedResources(), 168, "GIF"));
    ASSERT_TRUE(banner.StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(1));
    ASSERT_TRUE(banner.Picture().IsAnimating());

    DestroyWindow(frame);
    frame = nullptr;
    EXPECT_FALSE(banner.Picture().IsAnimating()) << "halted before the window went";
    EXPECT_FALSE(waiter->Holding());
    EXPECT_EQ(banner.Control(), nullptr);
}

}  // namespace
