#pragma once

#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <memory>

#include "toolkit/image_strip.h"
#include "toolkit/win32/win32_surface.h"

// The pictures of an image list as the toolkit's painters take them: drawn side by side on a
// surface over a key colour that no picture uses, which then marks their transparent pixels.
class ImageListStrip {
public:
    // An empty strip for a null or empty list.
    explicit ImageListStrip(HIMAGELIST list);

    const ImageStrip& Strip() const { return m_strip; }
    // Draws nothing when there are no pictures.
    const ImageStrip* Get() const { return m_surface ? &m_strip : nullptr; }

    static constexpr Color kKey = Rgb(255, 0, 255);

private:
    std::unique_ptr<Win32Surface> m_surface;
    ImageStrip m_strip;
};
