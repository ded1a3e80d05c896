#pragma once

#include <windows.h>

#include "banner/picture_decoder.h"

// Decodes through the system's OLE picture loader (GIF, BMP, JPEG, icons, metafiles). A picture's
// size in pixels is its HIMETRIC size at the screen's resolution; it draws on GDI canvases only,
// with its transparent pixels left out. Wine gives a one-frame GIF stream at the frame's own size.
class Win32PictureDecoder final : public PictureDecoder {
public:
    [[nodiscard]] std::unique_ptr<Picture> Decode(std::span<const std::byte> bytes) const override;
};
