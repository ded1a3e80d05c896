// The painters' pixels on a GDI memory bitmap: the same checks as on the in-memory and Qt canvases.
#include <windows.h>

#include "tests/toolkit/painter_pixels.h"
#include "toolkit/win32/win32_surface.h"

namespace {

struct GdiMaker {
    static std::unique_ptr<Surface> Make(Size size, Color fill) {
        std::unique_ptr<Surface> surface = Win32Surface::Create(size);
        surface->GetCanvas().FillSolidRect({0, 0, size.width, size.height}, fill);
        return surface;
    }
};

}  // namespace

namespace painter_pixels {
INSTANTIATE_TYPED_TEST_SUITE_P(Gdi, PainterPixels, GdiMaker);
}  // namespace painter_pixels
