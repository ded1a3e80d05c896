#include "ui/dialog_scale.h"

#include <cstdint>

namespace {

int Scaled(int pixels, int to, int from) {
    const std::int64_t magnitude =
        (static_cast<std::int64_t>(pixels < 0 ? -pixels : pixels) * to + from - 1) / from;
    return static_cast<int>(pixels < 0 ? -magnitude : magnitude);
}

}  // namespace

DialogScale::DialogScale(Size reference)
    : m_reference(reference.width > 0 && reference.height > 0 ? reference
                                                              : layout::kNinePointReference) {}

int DialogScale::X(int pixels) const {
    return Scaled(pixels, m_reference.width, layout::kNinePointReference.width);
}

int DialogScale::Y(int pixels) const {
    return Scaled(pixels, m_reference.height, layout::kNinePointReference.height);
}
