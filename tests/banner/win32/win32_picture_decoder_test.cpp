// The banner's pictures through the system's OLE picture loader, drawn into GDI surfaces: the
// banner's frame streams, exact pixels and transparency, and pictures other than GIFs.
#include "banner/win32/win32_picture_decoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "banner/animated_picture.h"
#include "banner/gif_splitter.h"
#include "res/embedded_resources.h"
#include "tests/banner/gif_builder.h"
#include "tests/banner/picture_fakes.h"
#include "toolkit/win32/win32_surface.h"

namespace {

using picture_test::FakeFrameWaiter;

constexpr PictureColors kColors{Rgb(200, 200, 250), Rgb(212, 208, 200)};

std::span<const std::byte> Banner() { return EmbeddedResources().Find("GIF", 168); }

// The picture's canvas as a paint copies it.
std::unique_ptr<Win32Surface> CanvasOf(const CAnimatedPicture& picture) {
    std::unique_ptr<Win32Surface> target = Win32Surface::Create(picture.GetSize());
    picture.Paint(target->GetCanvas());
    return target;
}

Color At(Win32Surface& surface, int x, int y) { return surface.GetCanvas().GetPixel({x, y}); }

// A bottom-up 32-bit BMP file whose pixel (x, y) has the colour BmpPixel(x, y).
Color BmpPixel(int x, int y) {
    return Rgb(static_cast<std::uint8_t>(20 * x), static_cast<std::uint8_t>(30 * y), 200);
}
gif_test::Bytes Bmp(int width, int height) {
    gif_test::Bytes bytes;
    const auto u16 = [&](unsigned v) {
        for (int i = 0; i < 2; ++i) bytes.push_back(static_cast<std::byte>(v >> (8 * i)));
    };
    const auto u32 = [&](unsigned v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::byte>(v >> (8 * i)));
    };
    const unsigned pixels = 4u * unsigned(width * height);
    bytes.push_back(std::byte{'B'});
    bytes.push_back(std::byte{'M'});
    for (unsigned v : {14 + 40 + pixels, 0u, 14u + 40u, 40u, unsigned(width), unsigned(height)}) {
        u32(v);
    }
    u16(1);   // plane
    u16(32);  // bits per pixel
    for (unsigned v : {0u, pixels, 2835u, 2835u, 0u, 0u}) u32(v);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Color c = BmpPixel(x, y);
            for (std::uint8_t b : {BlueOf(c), GreenOf(c), RedOf(c), std::uint8_t{0}}) {
                bytes.push_back(static_cast<std::byte>(b));
            }
        }
    }
    return bytes;
}

TEST(Win32PictureDecoderTest, EveryFrameStreamOfTheBannerDecodes) {
    Win32PictureDecoder decoder;
    GifSplitter splitter;
    splitter.StartParse(Banner());
    int frames = 0;
    while (std::optional<GifFrameStream> stream = splitter.ExtractNextFrame()) {
        const std::unique_ptr<Picture> picture = decoder.Decode(stream->stream);
        ASSERT_TRUE(picture) << "frame " << frames;
        // The loader gives a frame at its own size (Wine) or the logical screen's.
        const Size size = picture->GetSize();
        EXPECT_TRUE(size == (Size{stream->width, stream->height}) || size == (Size{300, 100}))
            << "frame " << frames << " is " << size.width << " x " << size.height;
        ++frames;
    }
    EXPECT_EQ(frames, 20);

    const std::string junk = "GIF89a, but no picture at all";
    EXPECT_FALSE(decoder.Decode(std::as_bytes(std::span(junk))));
    EXPECT_FALSE(decoder.Decode({}));
}

// Each frame is drawn one to one where it belongs: the first covers the canvas with colours of
// the banner's table only (a scaled or blended drawing would make others), and the second, a
// smaller frame, changes its own rectangle and nothing else.
TEST(Win32PictureDecoderTest, BannerFramesDrawInPlaceAtTheirOwnPixels) {
    Win32PictureDecoder decoder;
    auto waiter = std::make_shared<FakeFrameWaiter>();
    CAnimatedPicture picture(
        decoder, std::make_shared<Win32SurfaceFactory>(), kColors, [] {}, waiter);
    ASSERT_TRUE(picture.LoadFromResource(EmbeddedResources(), 168, "GIF"));
    EXPECT_EQ(picture.FrameCount(), 20u);
    EXPECT_EQ(picture.GetSize(), (Size{300, 100}));
    ASSERT_TRUE(picture.StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(1));

    std::set<Color> table;
    const std::span<const std::byte> banner = Banner();
    for (std::size_t i = 13; i < 13 + 3 * 256; i += 3) {
        table.insert(Rgb(std::to_integer<std::uint8_t>(banner[i]),
                         std::to_integer<std::uint8_t>(banner[i + 1]),
                         std::to_integer<std::uint8_t>(banner[i + 2])));
    }
    const std::unique_ptr<Win32Surface> first = CanvasOf(picture);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 300; ++x) {
            ASSERT_TRUE(table.count(At(*first, x, y))) << x << ", " << y;
        }
    }

    GifSplitter splitter;
    splitter.StartParse(banner);
    splitter.ExtractNextFrame();
    const std::optional<GifFrameStream> frame = splitter.ExtractNextFrame();
    ASSERT_TRUE(frame);
    const Rect area{frame->left, frame->top, frame->left + frame->width,
                    frame->top + frame->height};
    ASSERT_TRUE(waiter->RunTo(2));
    const std::unique_ptr<Win32Surface> second = CanvasOf(picture);
    int changed = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 300; ++x) {
            if (!area.Contains({x, y})) {
                ASSERT_EQ(At(*second, x, y), At(*first, x, y)) << x << ", " << y;
            } else {
                ASSERT_TRUE(table.count(At(*second, x, y))) << x << ", " << y;
                changed += At(*second, x, y) != At(*first, x, y);
            }
        }
    }
    EXPECT_GT(changed, frame->width * frame->height / 10);
}

TEST(Win32PictureDecoderTest, FramePixelsComeOutExactlyAndTransparentOnesKeepWhatLiesBelow) {
    gif_test::GifBuilder gif(1);
    gif.Screen(4, 2).GlobalColor(1, 255, 0, 0).GlobalColor(2, 0, 255, 0).GlobalColor(3, 0, 0, 255);
    gif.Control(10, 1).PixelImage(0, 0, 4, 2, {1, 1, 1, 1, 3, 3, 3, 3});
    gif.Control(10, 1, 1).PixelImage(2, 0, 2, 2, {2, 0, 0, 2});  // index 0 is transparent
    gif.Trailer();
    Win32PictureDecoder decoder;
    auto waiter = std::make_shared<FakeFrameWaiter>(2);
    CAnimatedPicture picture(
        decoder, std::make_shared<Win32SurfaceFactory>(), kColors, [] {}, waiter);
    ASSERT_TRUE(picture.LoadFromMemory(gif.bytes));
    ASSERT_TRUE(picture.StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(2));

    const std::unique_ptr<Win32Surface> canvas = CanvasOf(picture);
    const Color r = Rgb(255, 0, 0), g = Rgb(0, 255, 0), b = Rgb(0, 0, 255);
    const Color expected[2][4] = {{r, r, g, r}, {b, b, b, g}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(At(*canvas, x, y), expected[y][x]) << x << ", " << y;
    }
}

TEST(Win32PictureDecoderTest, OtherPicturesComeAtTheirOwnSizeAndDrawAnyPartOfThemselves) {
    const gif_test::Bytes bmp = Bmp(7, 5);
    Win32PictureDecoder decoder;
    const std::unique_ptr<Picture> decoded = decoder.Decode(bmp);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->GetSize(), (Size{7, 5}));

    std::unique_ptr<Win32Surface> surface = Win32Surface::Create({7, 5});
    ASSERT_TRUE(decoded->Draw(surface->GetCanvas(), {0, 0, 7, 5}, {0, 0, 7, 5}));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) EXPECT_EQ(At(*surface, x, y), BmpPixel(x, y)) << x << ", " << y;
    }
    // A part of it, as a frame in place on a picture of the screen's size is drawn.
    surface = Win32Surface::Create({7, 5});
    ASSERT_TRUE(decoded->Draw(surface->GetCanvas(), {1, 1, 4, 3}, {3, 2, 6, 4}));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
            EXPECT_EQ(At(*surface, x, y), inside ? BmpPixel(x + 2, y + 1) : Rgb(0, 0, 0))
                << x << ", " << y;
        }
    }

    CAnimatedPicture picture(decoder, std::make_shared<Win32SurfaceFactory>(), kColors, [] {});
    ASSERT_TRUE(picture.LoadFromMemory(bmp));
    EXPECT_FALSE(picture.IsAnimation());
    EXPECT_EQ(picture.GetSize(), (Size{7, 5}));
    ASSERT_TRUE(picture.StartShowing());
    EXPECT_EQ(At(*CanvasOf(picture), 6, 4), BmpPixel(6, 4));
}

}  // namespace
