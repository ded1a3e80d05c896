#pragma once

#include <windows.h>

#include <cstddef>
#include <span>

#include "toolkit/canvas.h"

// A bitmap of `size` made from the bytes of a .bmp file, scaled with the halftone filter (which
// averages the source pixels behind each target pixel). Null when the bytes are no bitmap of 24 or
// 32 bits. The caller deletes it.
HBITMAP ScaledBitmap(std::span<const std::byte> file, Size size);
