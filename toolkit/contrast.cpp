#include "toolkit/contrast.h"

#include <algorithm>
#include <cmath>

#include "toolkit/hls_color.h"

namespace {

double Linear(std::uint8_t channel) {
    const double v = channel / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double Luminance(Color c) {
    return 0.2126 * Linear(RedOf(c)) + 0.7152 * Linear(GreenOf(c)) + 0.0722 * Linear(BlueOf(c));
}

}  // namespace

double ContrastRatio(Color a, Color b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color WithContrast(Color color, Color against, double ratio) {
    return WithContrast(color, against, against, ratio);
}

Color WithContrast(Color color, Color one, Color other, double ratio) {
    const auto least = [&](Color c) {
        return std::min(ContrastRatio(c, one), ContrastRatio(c, other));
    };
    if (least(color) >= ratio) return color;
    const int direction = least(Rgb(255, 255, 255)) > least(Rgb(0, 0, 0)) ? 1 : -1;
    for (int percent = 1; percent < 100; ++percent) {
        const Color moved = HLSTransform(color, direction * percent, 0);
        if (least(moved) >= ratio) return moved;
    }
    return direction > 0 ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
}
