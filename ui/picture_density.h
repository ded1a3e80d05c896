#pragma once

#include "toolkit/canvas.h"

// Which version of a picture a window draws at its density, and how large. Each picture comes in
// a plain version made for 96 dpi and a large one made for 192 dpi. Above 96 dpi the window draws
// the large one at its own scale (scaled down between 96 and 192 dpi, never the plain one scaled
// up); at 96 dpi and below, the plain one pixel for pixel.
struct PictureChoice {
    bool large = false;
    Size drawn;
};

PictureChoice ChoosePicture(int dpi, Size plain);
