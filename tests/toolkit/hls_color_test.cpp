#include "toolkit/hls_color.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <utility>

namespace {

TEST(HlsColorTest, GreysHaveNoHueNoSaturationAndTheirOwnLightness) {
    for (int v = 0; v <= 255; ++v) {
        const auto b = static_cast<std::uint8_t>(v);
        EXPECT_EQ(RGBToHLS(Rgb(b, b, b)), Hls(0, b, 0)) << v;
        EXPECT_EQ(HLSToRGB(Hls(static_cast<std::uint8_t>(255 - v), b, 0)), Rgb(b, b, b))
            << "the hue of a grey is ignored: " << v;
    }
}

TEST(HlsColorTest, ConversionsMatchTheToolkitsKnownValues) {
    EXPECT_EQ(RGBToHLS(Rgb(255, 0, 0)), Hls(255, 127, 255)) << "a hue of 360 is not folded to 0";
    EXPECT_EQ(RGBToHLS(Rgb(0, 0, 255)), Hls(170, 127, 255));
    EXPECT_EQ(HLSToRGB(RGBToHLS(Rgb(255, 0, 0))), Rgb(254, 0, 0));
    EXPECT_EQ(HLSToRGB(RGBToHLS(Rgb(212, 208, 200))), Rgb(211, 207, 200));
    EXPECT_EQ(HLSTransform(Rgb(212, 208, 200), 20, 0), Rgb(219, 216, 210));
    EXPECT_EQ(HLSTransform(Rgb(212, 208, 200), -18, 0), Rgb(178, 171, 157));
    EXPECT_EQ(HLSTransform(Rgb(212, 208, 200), 50, -66), Rgb(230, 230, 229));
    EXPECT_EQ(HLSTransform(Rgb(236, 233, 216), 75, 0), Rgb(249, 248, 244));
    EXPECT_EQ(HLSTransform(Rgb(236, 233, 216), -27, 0), Rgb(195, 185, 132));
    EXPECT_EQ(HLSTransform(Rgb(200, 200, 200), -50, 0), Rgb(100, 100, 100));
    EXPECT_EQ(HLSTransform(Rgb(100, 100, 100), 50, 0), Rgb(177, 177, 177));
    // One hue in each sixth of the circle: each channel's rise, plateau and fall.
    const std::pair<std::uint8_t, Color> hues[] = {
        {15, Rgb(178, 76, 21)},  {60, Rgb(113, 178, 21)},  {100, Rgb(21, 178, 76)},
        {150, Rgb(21, 95, 178)}, {200, Rgb(132, 21, 178)}, {240, Rgb(178, 21, 76)},
    };
    for (const auto& [hue, rgb] : hues) EXPECT_EQ(HLSToRGB(Hls(hue, 100, 200)), rgb) << int{hue};
}

TEST(HlsColorTest, FullLighteningIsWhiteAndFullDarkeningBlackWhateverTheColour) {
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        const Color c = random() & 0xFFFFFF;
        const int saturation = static_cast<int>(random() % 201) - 100;
        EXPECT_EQ(HLSTransform(c, 100, saturation), Rgb(255, 255, 255)) << std::hex << c;
        EXPECT_EQ(HLSTransform(c, -100, saturation), Rgb(0, 0, 0)) << std::hex << c;
    }
}

// Hue, lightness and saturation are each cut to a byte, so the round trip does not give every
// colour back: for greys and pure primaries it does (above), and over all 16.7 million colours no
// channel moves by more than 8 units (RGB(250, 241, 1) comes back as RGB(248, 233, 1), its hue of
// 57.8 degrees cut to 56.5). A sector or channel mixed up moves colours much further.
TEST(HlsColorTest, ATransformByNothingStaysNearTheColour) {
    std::mt19937 random(2026);
    int exact = 0;
    for (int i = 0; i < 20000; ++i) {
        const Color c = random() & 0xFFFFFF;
        const Color back = HLSTransform(c, 0, 0);
        EXPECT_LE(std::abs(RedOf(back) - RedOf(c)), 8) << std::hex << c << " -> " << back;
        EXPECT_LE(std::abs(GreenOf(back) - GreenOf(c)), 8) << std::hex << c << " -> " << back;
        EXPECT_LE(std::abs(BlueOf(back) - BlueOf(c)), 8) << std::hex << c << " -> " << back;
        if (back == c) ++exact;
    }
    EXPECT_GT(exact, 0);
    EXPECT_EQ(HLSTransform(Rgb(250, 241, 1), 0, 0), Rgb(248, 233, 1));
}

}  // namespace
