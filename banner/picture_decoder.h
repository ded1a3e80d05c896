#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include "toolkit/canvas.h"

// A decoded picture of a size in pixels, drawn scaled into any rectangle of a canvas.
class Picture {
public:
    virtual ~Picture() = default;
    virtual Size GetSize() const = 0;
    // Draws `from`, a rectangle of the picture in its own pixels, scaled into `into`; its
    // transparent pixels leave the canvas as it was. False when it cannot draw on this canvas.
    // May run on the animation thread.
    [[nodiscard]] virtual bool Draw(Canvas& canvas, const Rect& into, const Rect& from) const = 0;
};

// Turns the bytes of a picture file (a one-frame GIF stream, or any other format the platform
// reads) into a picture that no longer refers to them.
class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;
    // Null when the bytes are no picture this decoder can read.
    [[nodiscard]] virtual std::unique_ptr<Picture> Decode(
        std::span<const std::byte> bytes) const = 0;
};
