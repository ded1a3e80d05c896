#include "ui/picture_density.h"

namespace {

constexpr int kPlainDpi = 96;

// `pixels` at `dpi`, rounded to the nearest pixel.
int Scaled(int pixels, int dpi) { return (pixels * dpi + kPlainDpi / 2) / kPlainDpi; }

}  // namespace

PictureChoice ChoosePicture(int dpi, Size plain) {
    if (dpi <= kPlainDpi) return {false, plain};
    return {true, {Scaled(plain.width, dpi), Scaled(plain.height, dpi)}};
}
