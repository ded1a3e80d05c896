#include "banner/transparent_static.h"

namespace transparent_static {

unsigned TextFlagsFromStyle(unsigned style) {
    unsigned flags = 0;
    if (style & kStyleRight) flags |= TextFlags::kRight;
    if (style & kStyleCenter) flags |= TextFlags::kCenter;
    if (style & kStyleCenterImage) flags |= TextFlags::kVCenter | TextFlags::kSingleLine;
    if (style & kStyleNoPrefix) flags |= TextFlags::kNoPrefix;
    if (style & 0xC000) flags |= TextFlags::kWordEllipsis;
    if (style & kStyleEndEllipsis) flags |= TextFlags::kEndEllipsis;
    if (style & kStylePathEllipsis) flags |= TextFlags::kPathEllipsis;
    if ((style & 0xC20C) == 0) flags |= TextFlags::kWordBreak;
    return flags;
}

void Paint(Canvas& canvas, const Rect& client, std::string_view text, unsigned style, Color color) {
    if (text.empty()) return;
    canvas.DrawText(text, client, TextFlagsFromStyle(style), color);
}

}  // namespace transparent_static
