// Off-screen Qt surfaces and the canvas's copy between them, checked pixel by pixel.
#include "toolkit/qt/qt_surface.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "toolkit/qt/qt_canvas.h"

namespace {

constexpr Color kGrey = Rgb(90, 90, 90);

// A colour for each pixel, different everywhere.
Color Pattern(int x, int y) {
    return Rgb(static_cast<std::uint8_t>(10 * x + 1), static_cast<std::uint8_t>(10 * y + 1), 7);
}

std::unique_ptr<Surface> PatternSurface(QtSurfaceFactory& factory, Size size) {
    std::unique_ptr<Surface> surface = factory.CreateSurface(size);
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) surface->GetCanvas().SetPixel({x, y}, Pattern(x, y));
    }
    return surface;
}

TEST(QtSurfaceTest, NewSurfacesAreBlackAndOnlyOfARealSize) {
    QtSurfaceFactory factory;
    std::unique_ptr<Surface> surface = factory.CreateSurface({3, 2});
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->GetSize(), (Size{3, 2}));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(surface->GetCanvas().GetPixel({x, y}), Rgb(0, 0, 0));
    }
    EXPECT_FALSE(factory.CreateSurface({0, 5}));
    EXPECT_FALSE(factory.CreateSurface({5, -1}));
}

TEST(QtSurfaceTest, CopyPutsARectangleAtAPointAndLeavesOutWhatLiesOutsideTheSource) {
    QtSurfaceFactory factory;
    const std::unique_ptr<Surface> source = PatternSurface(factory, {6, 5});
    std::unique_ptr<Surface> target = factory.CreateSurface({8, 8});
    Canvas& canvas = target->GetCanvas();
    canvas.FillSolidRect({0, 0, 8, 8}, kGrey);

    canvas.CopySurface(*source, {2, 1, 5, 4}, {4, 3});  // 3 x 3 from (2, 1) to (4, 3)
    // Reaches 2 past the source's right and bottom edges: only its 2 x 2 corner arrives.
    canvas.CopySurface(*source, {4, 3, 8, 7}, {0, 0});
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            Color expected = kGrey;
            if (x >= 4 && x < 7 && y >= 3 && y < 6) expected = Pattern(x - 2, y - 2);
            if (x < 2 && y < 2) expected = Pattern(x + 4, y + 3);
            EXPECT_EQ(canvas.GetPixel({x, y}), expected) << x << ", " << y;
        }
    }
}

// An image of twice the density, as the menus paint into on such a screen: the canvas reads back
// the pixel it was given in the image's own units, through the painter's moves.
TEST(QtSurfaceTest, TheCanvasReadsBackLogicalPixelsOfADenseImage) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.translate(1, 1);
    QtCanvas canvas(painter);
    canvas.SetPixel({2, 3}, kGrey);
    canvas.SetPixel({7, 7}, Pattern(1, 2));
    EXPECT_EQ(canvas.GetPixel({2, 3}), kGrey);
    EXPECT_EQ(canvas.GetPixel({3, 3}), Rgb(0, 0, 0));
    EXPECT_EQ(canvas.GetPixel({7, 7}), Pattern(1, 2));
    EXPECT_EQ(image.pixelColor(7, 9), QColor(90, 90, 90)) << "two device pixels a side";

    // Device pixels, counted from the canvas's own origin: (9, 10)-(10, 12) lies at (11, 12).
    EXPECT_EQ(canvas.Density(), 2);
    canvas.FillDeviceRect({9, 10, 10, 12}, kGrey);
    EXPECT_EQ(image.pixelColor(11, 12), QColor(90, 90, 90));
    EXPECT_EQ(image.pixelColor(11, 13), QColor(90, 90, 90));
    for (const QPoint around : {QPoint(10, 12), QPoint(12, 12), QPoint(11, 11), QPoint(11, 14)}) {
        EXPECT_EQ(image.pixelColor(around), QColor(Qt::black)) << around.x() << ", " << around.y();
    }
    QImage between(6, 6, QImage::Format_RGB32);
    between.setDevicePixelRatio(1.5);
    QPainter betweenPainter(&between);
    EXPECT_EQ(QtCanvas(betweenPainter).Density(), 1) << "no whole device pixels to a logical one";
}

}  // namespace
