// The dialog's background and labels, painted on the Qt canvas and checked pixel by pixel.
#include "ui/dialog_painter.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "banner/transparent_static.h"
#include "tests/support/qt/qt_test_environment.h"
#include "toolkit/qt/qt_canvas.h"

namespace {

// Text needs the application object; offscreen, so no display is needed. It ends before main
// does, so that Qt's font caches are released while Qt can still release them.
[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    AddQtTestEnvironment<QGuiApplication>();

Color PixelAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return Rgb(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
               static_cast<std::uint8_t>(qBlue(p)));
}

class PainterTest : public ::testing::Test {
protected:
    // Wider and taller than the window, so the lines' ends and the last row can be seen.
    QImage image{360, 380, QImage::Format_RGB32};

    void Paint(const WindowLook& look = LightWindowLook()) {
        image.fill(Qt::black);
        QPainter painter(&image);
        QtCanvas canvas(painter);
        dialog_painter::PaintBackground(canvas, image.width(), DialogScale(), {}, look);
    }
};

TEST_F(PainterTest, GradientRowsHaveTheirExactColoursAcrossTheWidth) {
    Paint();
    for (int x : {0, 200, 359}) {
        EXPECT_EQ(PixelAt(image, x, 0), Rgb(244, 243, 238));
        EXPECT_EQ(PixelAt(image, x, 185), Rgb(233, 230, 212));
        EXPECT_EQ(PixelAt(image, x, 370), Rgb(221, 216, 185));
    }
    EXPECT_EQ(PixelAt(image, 0, 371), Rgb(0, 0, 0)) << "row 371 is not painted";
    for (int y = 0; y < dialog_painter::kGradientRows; ++y) {
        if (y == 205 || y == 206 || y == 274 || y == 275) continue;
        ASSERT_EQ(PixelAt(image, 10, y), dialog_painter::GradientRow(y)) << "row " << y;
    }
}

// A high-contrast theme (here white on black) gets its own colours and no gradient behind labels
// drawn in the theme's text colour; a dark one a dark gradient with light labels; a light one
// keeps the program's look.
TEST_F(PainterTest, ThePaletteChoosesTheGradientTheLinesAndTheLabels) {
    SystemColors dark;
    dark.buttonFace = Rgb(49, 54, 59);
    dark.buttonText = Rgb(239, 240, 241);
    SystemColors black = dark;
    black.buttonFace = Rgb(0, 0, 0);
    black.buttonText = Rgb(255, 255, 255);
    struct Case {
        const char* name;
        SystemColors theme;
        Color labels, row10, line, lineBelow;
    };
    for (const Case& c :
         {Case{"light", SystemColors{}, Rgb(0, 0, 0), dialog_painter::GradientRow(10),
               Rgb(140, 140, 140), Rgb(255, 255, 255)},
          Case{"dark", dark, Rgb(239, 240, 241), Rgb(67, 73, 79), Rgb(19, 21, 22),
               Rgb(94, 104, 113)},
          Case{"high contrast", black, Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(255, 255, 255),
               Rgb(0, 0, 0)}}) {
        const WindowLook look = ChooseFlatLook(c.theme).window;
        Paint(look);
        EXPECT_EQ(look.text, c.labels) << c.name;
        EXPECT_EQ(PixelAt(image, 10, 10), c.row10) << c.name;
        EXPECT_EQ(PixelAt(image, 100, 205), c.line) << c.name;
        EXPECT_EQ(PixelAt(image, 100, 206), c.lineBelow) << c.name;
    }
}

TEST_F(PainterTest, EtchedLinesAreGreyOverWhiteAndLeaveOutTheirEndPoints) {
    Paint();
    const Color grey = Rgb(140, 140, 140);
    const Color white = Rgb(255, 255, 255);
    EXPECT_EQ(PixelAt(image, 80, 205), grey);
    EXPECT_EQ(PixelAt(image, 349, 205), grey);
    EXPECT_EQ(PixelAt(image, 80, 206), white);
    EXPECT_EQ(PixelAt(image, 349, 206), white);
    EXPECT_EQ(PixelAt(image, 79, 205), dialog_painter::GradientRow(205));
    EXPECT_EQ(PixelAt(image, 350, 205), dialog_painter::GradientRow(205));
    EXPECT_EQ(PixelAt(image, 350, 206), dialog_painter::GradientRow(206));
    EXPECT_EQ(PixelAt(image, 80, 204), dialog_painter::GradientRow(204));
    EXPECT_EQ(PixelAt(image, 80, 207), dialog_painter::GradientRow(207));

    EXPECT_EQ(PixelAt(image, 155, 274), grey);
    EXPECT_EQ(PixelAt(image, 348, 274), grey);
    EXPECT_EQ(PixelAt(image, 155, 275), white);
    EXPECT_EQ(PixelAt(image, 348, 275), white);
    EXPECT_EQ(PixelAt(image, 154, 274), dialog_painter::GradientRow(274));
    EXPECT_EQ(PixelAt(image, 349, 274), dialog_painter::GradientRow(274));
}

TEST(QtCanvasTest, ReadsBackPixelsAndDrawsLinesWithoutTheirEndPoint) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    canvas.SetPixel({3, 4}, Rgb(1, 2, 3));
    EXPECT_EQ(canvas.GetPixel({3, 4}), Rgb(1, 2, 3));
    EXPECT_EQ(canvas.GetPixel({25, 4}), QtCanvas::kInvalidColor);
    canvas.DrawLine({10, 10}, {5, 10}, Rgb(0, 0, 255));  // right to left: 10..6
    EXPECT_EQ(canvas.GetPixel({10, 10}), Rgb(0, 0, 255));
    EXPECT_EQ(canvas.GetPixel({6, 10}), Rgb(0, 0, 255));
    EXPECT_EQ(canvas.GetPixel({5, 10}), Rgb(255, 255, 255));
    canvas.DrawLine({2, 2}, {2, 6}, Rgb(0, 255, 0));
    EXPECT_EQ(canvas.GetPixel({2, 5}), Rgb(0, 255, 0));
    EXPECT_EQ(canvas.GetPixel({2, 6}), Rgb(255, 255, 255));
}

// --- Transparent labels -------------------------------------------------------------------------

TEST(TransparentStaticTest, StyleBitsMapToTextFlags) {
    using namespace transparent_static;
    EXPECT_EQ(TextFlagsFromStyle(0), TextFlags::kWordBreak);
    EXPECT_EQ(TextFlagsFromStyle(kStyleRight), TextFlags::kRight | TextFlags::kWordBreak);
    EXPECT_EQ(TextFlagsFromStyle(kStyleCenter), TextFlags::kCenter | TextFlags::kWordBreak);
    EXPECT_EQ(TextFlagsFromStyle(kStyleCenter | kStyleCenterImage),
              TextFlags::kCenter | TextFlags::kVCenter | TextFlags::kSingleLine);
    EXPECT_EQ(TextFlagsFromStyle(kStyleNoPrefix), TextFlags::kNoPrefix | TextFlags::kWordBreak);
    EXPECT_EQ(TextFlagsFromStyle(kStyleEndEllipsis),
              TextFlags::kWordEllipsis | TextFlags::kEndEllipsis);
    EXPECT_EQ(TextFlagsFromStyle(kStylePathEllipsis),
              TextFlags::kWordEllipsis | TextFlags::kPathEllipsis);
    EXPECT_EQ(TextFlagsFromStyle(0xC000),
              TextFlags::kWordEllipsis | TextFlags::kEndEllipsis | TextFlags::kPathEllipsis);
    // SS_ICON-like bits (0x0004, 0x0008) also switch word breaking off.
    EXPECT_EQ(TextFlagsFromStyle(0x0004), 0u);
}

TEST(TransparentStaticTest, LabelDrawsItsLettersOverTheGradientAndNothingElse) {
    QImage image(120, 40, QImage::Format_RGB32);
    QPainter painter(&image);
    QFont font("NanumGothic");
    font.setPixelSize(12);
    painter.setFont(font);
    QtCanvas canvas(painter);
    dialog_painter::PaintBackground(canvas, image.width());
    const QImage background = image.copy();
    transparent_static::Paint(canvas, {10, 10, 110, 30}, "사운드 설정", 0, Rgb(0, 0, 0));
    painter.end();

    int changed = 0;
    int outside = 0;
    int corners = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background.pixel(x, y)) continue;
            ++changed;
            if (x < 10 || x >= 110 || y < 10 || y >= 30) ++outside;
        }
    }
    for (auto [x, y] : {std::pair{10, 10}, {109, 10}, {10, 29}, {109, 29}}) {
        if (image.pixel(x, y) != background.pixel(x, y)) ++corners;
    }
    EXPECT_GT(changed, 40) << "no letters were drawn";
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(corners, 0) << "the label filled its box";
}

TEST(TransparentStaticTest, EmptyTextDrawsNothing) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    transparent_static::Paint(canvas, {0, 0, 20, 20}, "", 0, Rgb(0, 0, 0));
    painter.end();
    QImage white(20, 20, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(image, white);
}

}  // namespace
