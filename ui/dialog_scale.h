#pragma once

#include "toolkit/canvas.h"
#include "ui/dialog_layout.h"

// Pixel measures of the main window that were laid out for the 9-point dialog font (base units
// 6.4 x 12), mapped to the base units of the font and density the window really has, so that they
// keep their place against its controls.
class DialogScale {
public:
    // `reference` is what layout::kReferenceUnits take in the window's font; none (a failed
    // mapping) keeps the measures as they are.
    explicit DialogScale(Size reference = layout::kNinePointReference);

    // Rounded away from zero: a measure that marks where an area of controls ends (the fold, the
    // lines just right of their labels) never comes to lie inside that area.
    int X(int pixels) const;
    int Y(int pixels) const;
    Size Map(Size pixels) const { return {X(pixels.width), Y(pixels.height)}; }

private:
    Size m_reference;
};
