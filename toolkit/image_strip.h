#pragma once

#include "toolkit/canvas.h"

// A row of equal pictures on one surface, picked by index, with a colour that marks their
// transparent pixels: what the menus and the toolbar draw their images from (an image list).
struct ImageStrip {
    const Surface* pictures = nullptr;
    Size imageSize{16, 16};
    Color transparent = Rgb(192, 192, 192);

    int Count() const {
        return pictures && imageSize.width > 0 ? pictures->GetSize().width / imageSize.width : 0;
    }
    Rect ImageRect(int index) const {
        return {index * imageSize.width, 0, (index + 1) * imageSize.width, imageSize.height};
    }
    // ImageList_Draw with ILD_TRANSPARENT.
    void Draw(Canvas& canvas, int index, Point at) const {
        if (index >= 0 && index < Count()) {
            canvas.DrawTransparent(*pictures, ImageRect(index), at, transparent);
        }
    }
    // The picture's shape in one colour, as DrawState draws an icon with DSS_MONO.
    void DrawSilhouette(Canvas& canvas, int index, Point at, Color color) const {
        if (index >= 0 && index < Count()) {
            canvas.DrawSilhouette(*pictures, ImageRect(index), at, transparent, color);
        }
    }
};
