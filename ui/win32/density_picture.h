#pragma once

#include <windows.h>

#include "toolkit/canvas.h"

class ResourceSource;

// The picture of a picture control (a static of style SS_BITMAP, made from the template with the
// plain bitmap of its id) in the version that suits the window's density: above 96 dpi the
// resource's "BITMAP@2x" version scaled to the window's scale. Owns the bitmap it made.
class DensityPicture {
public:
    DensityPicture() = default;
    ~DensityPicture();
    DensityPicture(const DensityPicture&) = delete;
    DensityPicture& operator=(const DensityPicture&) = delete;

    // Leaves the control as it is where no large version can be made.
    void Show(HWND control, const ResourceSource& resources, int id, int dpi);

private:
    HBITMAP m_made = nullptr;
    // The plain version's size, read from the template's bitmap.
    Size m_plain;
};

// The first picture control (style SS_BITMAP) among `dialog`'s children, or null. The templates'
// pictures have no id of their own.
HWND FindPictureControl(HWND dialog);
