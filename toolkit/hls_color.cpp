#include "toolkit/hls_color.h"

#include <algorithm>
#include <bit>

namespace {

// The single-precision scale factors of the conversions: 1/510, 1/360, 1/255 and 1/60.
const float k510 = std::bit_cast<float>(0x3B008081u);
const float k360 = std::bit_cast<float>(0x3B360B61u);
const float k255 = std::bit_cast<float>(0x3B808081u);
const float k60 = std::bit_cast<float>(0x3C888889u);

// Truncates toward zero and keeps the low eight bits, as the conversions store their bytes.
std::uint8_t ByteOf(double value) {
    return static_cast<std::uint8_t>(static_cast<std::int64_t>(value) & 0xFF);
}

int Shift(int value, int percent) {
    if (percent > 0) return value + ((255 - value) * percent) / 100;
    if (percent < 0) return (value * (100 + percent)) / 100;
    return value;
}

}  // namespace

HLSCOLOR RGBToHLS(Color rgb) {
    const int r = RedOf(rgb), g = GreenOf(rgb), b = BlueOf(rgb);
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    const float diff = static_cast<float>(max - min);
    const float sum = static_cast<float>(max + min);
    const float lightness = static_cast<float>(double{sum} * double{k510});
    double hue = 0;
    float saturation = 0;
    if (max != min) {
        const float dr = static_cast<float>(double(max - r) / double{diff});
        const float dg = static_cast<float>(double(max - g) / double{diff});
        const float db = static_cast<float>(double(max - b) / double{diff});
        saturation = lightness > 0.5f ? static_cast<float>(double{diff} / (510.0 - double{sum}))
                                      : static_cast<float>(double{diff} / double{sum});
        // A later match wins: with two channels at the maximum, blue beats green beats red.
        if (r == max) hue = (double{db} + 6 - double{dg}) * 60;
        if (g == max) hue = (double{dr} + 2 - double{db}) * 60;
        if (b == max) hue = (double{dg} + 4 - double{dr}) * 60;
        // Exactly 360 stays: pure red keeps hue byte 255.
        if (hue > 360) hue -= 360;
    }
    return Hls(ByteOf(hue * 255 * double{k360}), ByteOf(double{lightness} * 255),
               ByteOf(double{saturation} * 255));
}

std::uint8_t HueToRGB(float m1, float m2, float hue) {
    double x = hue;
    if (x > 360) {
        x -= 360;
    } else if (x < 0) {
        x += 360;
    }
    double v = m1;
    if (x < 60) {
        v = (double{m2} - double{m1}) * x * double{k60} + double{m1};
    } else if (x < 180) {
        v = m2;
    } else if (x < 240) {
        v = (double{m2} - double{m1}) * (240 - x) * double{k60} + double{m1};
    }
    return ByteOf(v * 255);
}

Color HLSToRGB(HLSCOLOR hls) {
    const float hue = static_cast<float>(360.0 * HueOf(hls) * double{k255});
    const double l = LightnessOf(hls) * double{k255};
    const double s = SaturationOf(hls) * double{k255};
    if (SaturationOf(hls) == 0) {
        return Rgb(LightnessOf(hls), LightnessOf(hls), LightnessOf(hls));
    }
    const float m2 =
        l <= 0.5 ? static_cast<float>((s + 1) * l) : static_cast<float>((s + l) - s * l);
    const float m1 = static_cast<float>(2 * l - double{m2});
    return Rgb(HueToRGB(m1, m2, static_cast<float>(double{hue} + 120)), HueToRGB(m1, m2, hue),
               HueToRGB(m1, m2, static_cast<float>(double{hue} - 120)));
}

Color HLSTransform(Color rgb, int lightnessPercent, int saturationPercent) {
    const HLSCOLOR hls = RGBToHLS(rgb);
    const int lightness = Shift(LightnessOf(hls), lightnessPercent);
    const int saturation = Shift(SaturationOf(hls), saturationPercent);
    return HLSToRGB(Hls(HueOf(hls), static_cast<std::uint8_t>(lightness),
                        static_cast<std::uint8_t>(saturation)));
}
