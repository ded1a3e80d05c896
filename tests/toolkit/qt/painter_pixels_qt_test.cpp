// The painters' pixels on the Qt canvas: the same checks as on the in-memory canvas.
#include <QFont>
#include <QGuiApplication>

#include "tests/support/qt/qt_test_environment.h"
#include "tests/toolkit/painter_pixels.h"
#include "toolkit/qt/qt_surface.h"

namespace {

// Text needs the application object; offscreen, so no display is needed. It ends before main
// does, so that Qt's font caches are released while Qt can still release them.
[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    AddQtTestEnvironment<QGuiApplication>([] {
        QFont font("NanumGothic");
        font.setPixelSize(12);
        QGuiApplication::setFont(font);
    });

struct QtMaker {
    static std::unique_ptr<Surface> Make(Size size, Color fill) {
        QtSurfaceFactory factory;
        std::unique_ptr<Surface> surface = factory.CreateSurface(size);
        surface->GetCanvas().FillSolidRect({0, 0, size.width, size.height}, fill);
        return surface;
    }
};

}  // namespace

namespace painter_pixels {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, PainterPixels, QtMaker);
}  // namespace painter_pixels
