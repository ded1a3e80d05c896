// Off-screen GDI surfaces: what the banner's canvas and its backups are made of.
#include "toolkit/win32/win32_surface.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr Color kBlack = Rgb(0, 0, 0);

// Gives pixel (x, y) a colour of its own.
Color Pattern(int x, int y) {
    return Rgb(static_cast<std::uint8_t>(10 * x), static_cast<std::uint8_t>(10 * y), 77);
}

TEST(Win32SurfaceTest, NewSurfaceIsBlackAndOfItsSize) {
    const std::unique_ptr<Surface> surface = Win32SurfaceFactory().CreateSurface({5, 4});
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->GetSize(), (Size{5, 4}));
    EXPECT_EQ(surface->GetCanvas().GetPixel({0, 0}), kBlack);
    EXPECT_EQ(surface->GetCanvas().GetPixel({4, 3}), kBlack);
    EXPECT_EQ(surface->GetCanvas().GetPixel({5, 3}), Win32Canvas::kInvalidColor);
    EXPECT_FALSE(Win32SurfaceFactory().CreateSurface({0, 4}));
    EXPECT_FALSE(Win32SurfaceFactory().CreateSurface({5, -1}));
}

// The banner's canvas is drawn on by the animation thread and copied by the window's.
TEST(Win32SurfaceTest, CopiesARectangleDrawnOnAnotherThreadAndLeavesOutWhatLiesOutside) {
    Win32SurfaceFactory factory;
    const std::unique_ptr<Surface> source = factory.CreateSurface({8, 6});
    std::thread([&] {
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 8; ++x) source->GetCanvas().SetPixel({x, y}, Pattern(x, y));
        }
    }).join();

    const std::unique_ptr<Surface> target = factory.CreateSurface({10, 10});
    target->GetCanvas().CopySurface(*source, {2, 1, 6, 4}, {5, 6});
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 5 && x < 9 && y >= 6 && y < 9;
            EXPECT_EQ(target->GetCanvas().GetPixel({x, y}), inside ? Pattern(x - 3, y - 5) : kBlack)
                << x << ", " << y;
        }
    }
    // Hanging over the target's right and bottom edges: only what fits arrives.
    target->GetCanvas().CopySurface(*source, {0, 0, 8, 6}, {7, 8});
    EXPECT_EQ(target->GetCanvas().GetPixel({9, 9}), Pattern(2, 1));
    EXPECT_EQ(target->GetCanvas().GetPixel({7, 8}), Pattern(0, 0));
}

}  // namespace
