#pragma once

#include "banner/picture_decoder.h"

// Decodes whatever Qt's image readers take (GIF, PNG, BMP, JPEG, ...). A one-frame GIF stream
// comes out at its logical screen's size with the frame in place, the rest transparent or, when
// the frame has no transparent colour, the background colour. Its pictures draw on Qt canvases
// only.
class QtPictureDecoder final : public PictureDecoder {
public:
    [[nodiscard]] std::unique_ptr<Picture> Decode(std::span<const std::byte> bytes) const override;
};
