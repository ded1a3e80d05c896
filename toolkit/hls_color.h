#pragma once

#include <cstdint>

#include "toolkit/canvas.h"

// A hue/lightness/saturation colour packed like a Color: hue in the low byte (0..255 for 0..360
// degrees), then lightness, then saturation (each 0..255 for 0.0..1.0).
using HLSCOLOR = std::uint32_t;

constexpr HLSCOLOR Hls(std::uint8_t hue, std::uint8_t lightness, std::uint8_t saturation) {
    return static_cast<HLSCOLOR>(hue) | (static_cast<HLSCOLOR>(lightness) << 8) |
           (static_cast<HLSCOLOR>(saturation) << 16);
}
constexpr std::uint8_t HueOf(HLSCOLOR c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t LightnessOf(HLSCOLOR c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t SaturationOf(HLSCOLOR c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

// The conversions round to single precision where the toolkit's colours always did, so that
// derived colours come out to the same unit on every platform.
HLSCOLOR RGBToHLS(Color rgb);
Color HLSToRGB(HLSCOLOR hls);
// One channel of HLSToRGB.
std::uint8_t HueToRGB(float m1, float m2, float hue);
// Lightens (positive) or darkens (negative) a colour by a percentage of the way to white or black,
// and saturates or desaturates it likewise, keeping its hue. Percentages lie in -100..100.
Color HLSTransform(Color rgb, int lightnessPercent, int saturationPercent);
