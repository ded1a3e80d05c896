// The banner as the window shows it: decoded by Qt, drawn into Qt surfaces, and the widget.
#include "banner/qt/qt_animated_picture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <memory>

#include "banner/gif_splitter.h"
#include "res/embedded_resources.h"
#include "tests/banner/gif_builder.h"
#include "tests/banner/picture_fakes.h"
#include "tests/support/qt/qt_test_environment.h"
#include "toolkit/qt/qt_surface.h"

namespace {

using picture_test::FakeFrameWaiter;

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    AddQtTestEnvironment<QApplication>();

constexpr PictureColors kColors{Rgb(200, 200, 250), Rgb(212, 208, 200)};

std::span<const std::byte> Banner() { return EmbeddedResources().Find("GIF", 168); }

QImage Decoded(std::span<const std::byte> bytes) {
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()));
}

// The picture's canvas as a paint copies it.
QImage CanvasOf(const CAnimatedPicture& picture) {
    QtSurfaceFactory factory;
    std::unique_ptr<Surface> target = factory.CreateSurface(picture.GetSize());
    picture.Paint(target->GetCanvas());
    return dynamic_cast<QtSurface&>(*target).Image().copy();
}

testing::AssertionResult SameImage(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size()) return testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return testing::AssertionFailure()
                       << "(" << x << ", " << y << ") is " << std::hex << actual.pixel(x, y)
                       << ", not " << expected.pixel(x, y);
            }
        }
    }
    return testing::AssertionSuccess();
}

// Runs the event loop until `done` holds, at most 5 s.
template <typename Done>
bool ProcessEventsUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The banner's first frame covers it all; Qt gives the second, smaller one (disposal 1) at the
// full 300 x 100, in place and surrounded by the background colour: only the frame's part may be
// drawn, and the first frame stays visible around it.
TEST(AnimatedPictureQtTest, BannerPlaysItsTwentyFramesEachInPlaceOverTheLast) {
    QtPictureDecoder decoder;
    auto waiter = std::make_shared<FakeFrameWaiter>();
    const auto noRepaint = [] {};
    CAnimatedPicture picture(decoder, std::make_shared<QtSurfaceFactory>(), kColors, noRepaint,
                             waiter);
    ASSERT_TRUE(picture.LoadFromResource(EmbeddedResources(), 168, "GIF"));
    EXPECT_EQ(picture.FrameCount(), 20u);
    EXPECT_EQ(picture.GetSize(), (Size{300, 100}));
    ASSERT_TRUE(picture.IsAnimation());

    ASSERT_TRUE(picture.StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(1));
    QImage first(300, 100, QImage::Format_RGB32);
    first.fill(QColor(200, 200, 250));
    {
        QPainter painter(&first);
        painter.drawImage(0, 0, Decoded(Banner()));  // Qt reads a GIF's first frame
    }
    EXPECT_TRUE(SameImage(CanvasOf(picture), first));

    GifSplitter splitter;
    splitter.StartParse(Banner());
    splitter.ExtractNextFrame();
    const std::optional<GifFrameStream> stream = splitter.ExtractNextFrame();
    ASSERT_TRUE(stream);
    const QRect frame(stream->left, stream->top, stream->width, stream->height);
    ASSERT_NE(frame, first.rect());
    const QImage decoded = Decoded(stream->stream);
    ASSERT_EQ(decoded.size(), first.size());

    ASSERT_TRUE(waiter->RunTo(2));
    const QImage second = CanvasOf(picture);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 300; ++x) {
            const QRgb wanted = frame.contains(x, y) && qAlpha(decoded.pixel(x, y)) == 255
                                    ? decoded.pixel(x, y)
                                    : first.pixel(x, y);
            ASSERT_EQ(second.pixel(x, y), wanted) << x << ", " << y;
        }
    }
    EXPECT_EQ(waiter->Waits(), (std::vector<std::uint32_t>{200, 200}));
}

TEST(AnimatedPictureQtTest, TransparentPixelsOfAFrameKeepWhatLiesBelow) {
    gif_test::GifBuilder gif(1);
    gif.Screen(4, 2).GlobalColor(1, 255, 0, 0).GlobalColor(2, 0, 255, 0).GlobalColor(3, 0, 0, 255);
    gif.Control(10, 1).PixelImage(0, 0, 4, 2, {1, 1, 1, 1, 3, 3, 3, 3});
    gif.Control(10, 1, 1).PixelImage(2, 0, 2, 2, {2, 0, 0, 2});  // index 0 is transparent
    gif.Trailer();
    QtPictureDecoder decoder;
    auto waiter = std::make_shared<FakeFrameWaiter>(2);
    const auto noRepaint = [] {};
    CAnimatedPicture picture(decoder, std::make_shared<QtSurfaceFactory>(), kColors, noRepaint,
                             waiter);
    ASSERT_TRUE(picture.LoadFromMemory(gif.bytes));
    ASSERT_TRUE(picture.StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(2));

    const QImage canvas = CanvasOf(picture);
    const QRgb r = qRgb(255, 0, 0), g = qRgb(0, 255, 0), b = qRgb(0, 0, 255);
    const QRgb expected[2][4] = {{r, r, g, r}, {b, b, b, g}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.pixel(x, y), expected[y][x]) << x << ", " << y;
    }
}

TEST(AnimatedPictureQtTest, WidgetShowsTheCanvasAndAnimatesOnlyWhileVisible) {
    auto waiter = std::make_shared<FakeFrameWaiter>();
    QtAnimatedPicture widget(nullptr, waiter);
    EXPECT_TRUE(widget.testAttribute(Qt::WA_TransparentForMouseEvents));
    ASSERT_TRUE(widget.LoadFromResource(EmbeddedResources(), 168, "GIF"));
    EXPECT_EQ(widget.size(), QSize(300, 100));

    EXPECT_TRUE(widget.StartShowing());
    EXPECT_FALSE(widget.picture().IsAnimating()) << "hidden: the start waits for the show";
    PaintCounter counter;
    widget.installEventFilter(&counter);
    widget.show();
    EXPECT_TRUE(widget.picture().IsAnimating());
    ASSERT_TRUE(waiter->AwaitHold(1));
    QApplication::processEvents();

    // The animation thread's repaint request reaches the widget through its event loop.
    const int paints = counter.paints;
    ASSERT_TRUE(waiter->RunTo(2));
    EXPECT_TRUE(ProcessEventsUntil([&] { return counter.paints > paints; }));
    EXPECT_TRUE(SameImage(widget.grab().toImage().convertToFormat(QImage::Format_RGB32),
                          CanvasOf(widget.picture())));

    widget.hide();
    EXPECT_FALSE(widget.picture().IsAnimating());
    EXPECT_FALSE(waiter->Holding());
    const QImage on_show = CanvasOf(widget.picture());
    waiter->HoldAt(3);
    widget.show();
    EXPECT_TRUE(widget.picture().IsAnimating());
    ASSERT_TRUE(waiter->AwaitHold(3));
    EXPECT_TRUE(SameImage(CanvasOf(widget.picture()), on_show));
}

}  // namespace
