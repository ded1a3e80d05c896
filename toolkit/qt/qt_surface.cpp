#include "toolkit/qt/qt_surface.h"

#include <utility>

QtSurface::QtSurface(QImage image)
    : m_image(std::move(image)), m_painter(&m_image), m_canvas(m_painter) {}

std::unique_ptr<Surface> QtSurfaceFactory::CreateSurface(Size size) {
    if (size.width <= 0 || size.height <= 0) return nullptr;
    QImage image(size.width, size.height, QImage::Format_RGB32);
    if (image.isNull()) return nullptr;
    image.fill(Qt::black);
    return std::make_unique<QtSurface>(std::move(image));
}
