// The painters' pixels on the portable in-memory canvas.
#include "tests/toolkit/painter_pixels.h"

#include "tests/support/memory_surface.h"

namespace {

struct MemoryMaker {
    static std::unique_ptr<Surface> Make(Size size, Color fill) {
        return std::make_unique<MemorySurface>(size, fill);
    }
};

}  // namespace

namespace painter_pixels {
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, PainterPixels, MemoryMaker);
}  // namespace painter_pixels
