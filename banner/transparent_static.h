#pragma once

#include <string_view>

#include "toolkit/canvas.h"

// A text label that draws only its letters over whatever its parent painted behind it.
namespace transparent_static {

// Static-control style bits that decide how the text is laid out.
inline constexpr unsigned kStyleCenter = 0x0001;
inline constexpr unsigned kStyleRight = 0x0002;
inline constexpr unsigned kStyleNoPrefix = 0x0080;
inline constexpr unsigned kStyleCenterImage = 0x0200;
inline constexpr unsigned kStyleEndEllipsis = 0x4000;
inline constexpr unsigned kStylePathEllipsis = 0x8000;

// The text-drawing flags (TextFlags) for a label of style `style`.
unsigned TextFlagsFromStyle(unsigned style);
// Draws `text` into `client` with the label's flags; nothing else is touched.
void Paint(Canvas& canvas, const Rect& client, std::string_view text, unsigned style, Color color);

}  // namespace transparent_static
