#pragma once

#include "toolkit/canvas.h"

// Where the banner's picture shows in the main window. In the 9-point layout it lies at the banner
// control's top-left corner, as large as the picture. In another font that place is scaled with
// the font, and the picture, pixel for pixel, is centred on it and clipped to it and to the client
// area: its small lettering stays sharp, and it never reaches past the window. A denser window
// centres the picture as it draws it, its large version at the window's scale.
struct BannerPlacement {
    // The banner control's rectangle in client coordinates: what is drawn, and where clicks and
    // the hand cursor count.
    Rect shown;
    // The picture's top-left corner, relative to `shown`'s.
    Point picture;
};

// `reference` is what layout::kReferenceUnits take in the window's font; `picture` is the plain
// picture's size, `drawn` the size it is drawn at (a denser window's large version; the plain
// size where none is given).
BannerPlacement PlaceBanner(Size reference, Size picture, Size drawn = {});
