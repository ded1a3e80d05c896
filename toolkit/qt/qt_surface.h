#pragma once

#include <QImage>
#include <QPainter>
#include <memory>

#include "toolkit/canvas.h"
#include "toolkit/qt/qt_canvas.h"

// An opaque off-screen image (RGB32) with a painter kept open on it for its whole life.
class QtSurface final : public Surface {
public:
    // `image` must not be null.
    explicit QtSurface(QImage image);
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

    Size GetSize() const override { return {m_image.width(), m_image.height()}; }
    Canvas& GetCanvas() override { return m_canvas; }
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
    QPainter m_painter;
    QtCanvas m_canvas;
};

class QtSurfaceFactory final : public SurfaceFactory {
public:
    [[nodiscard]] std::unique_ptr<Surface> CreateSurface(Size size) override;
};
