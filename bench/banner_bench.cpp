// banner-bench: what the banner costs. Loading res/banner.gif (split into its 20 frames, each
// decoded by Qt), drawing one frame into the canvas, and the paint's copy of the canvas: the last
// two are what the animation thread and the paint hold the canvas's lock for.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>

#include "banner/animated_picture.h"
#include "banner/gif_splitter.h"
#include "banner/qt/qt_picture_decoder.h"
#include "res/embedded_resources.h"
#include "toolkit/qt/qt_surface.h"

namespace {

std::span<const std::byte> Banner() { return EmbeddedResources().Find("GIF", 168); }

void LoadBanner(benchmark::State& state) {
    QtPictureDecoder decoder;
    auto surfaces = std::make_shared<QtSurfaceFactory>();
    for (auto _ : state) {
        CAnimatedPicture picture(decoder, surfaces, PictureColors{}, [] {});
        if (!picture.LoadFromMemory(Banner()) || picture.FrameCount() != 20) {
            state.SkipWithError("the banner did not load as 20 frames");
        }
    }
}

// The splitting alone, without decoding.
void SplitBanner(benchmark::State& state) {
    for (auto _ : state) {
        GifSplitter splitter;
        splitter.StartParse(Banner());
        benchmark::DoNotOptimize(splitter.CountFrames());
        splitter.ResetCursor();
        while (auto frame = splitter.ExtractNextFrame()) benchmark::DoNotOptimize(frame->stream);
    }
}

// Frame `index` of the banner drawn as the animation draws it, from its part of the picture.
void DrawFrame(benchmark::State& state) {
    GifSplitter splitter;
    splitter.StartParse(Banner());
    std::optional<GifFrameStream> frame;
    for (int i = 0; i <= state.range(0); ++i) frame = splitter.ExtractNextFrame();
    QtPictureDecoder decoder;
    const std::unique_ptr<Picture> picture = decoder.Decode(frame->stream);
    std::unique_ptr<Surface> canvas = QtSurfaceFactory().CreateSurface({300, 100});
    const Rect rect{frame->left, frame->top, frame->left + frame->width,
                    frame->top + frame->height};
    const Size size = picture->GetSize();
    const Rect source = size == Size{300, 100} ? rect : Rect{0, 0, size.width, size.height};
    for (auto _ : state) {
        if (!picture->Draw(canvas->GetCanvas(), rect, source)) {
            state.SkipWithError("the frame did not draw");
        }
    }
    state.SetLabel(std::to_string(frame->width) + " x " + std::to_string(frame->height));
}

void PaintCopy(benchmark::State& state) {
    QtSurfaceFactory factory;
    std::unique_ptr<Surface> canvas = factory.CreateSurface({300, 100});
    std::unique_ptr<Surface> window = factory.CreateSurface({300, 100});
    for (auto _ : state) window->GetCanvas().CopySurface(*canvas, {0, 0, 300, 100}, {0, 0});
}

}  // namespace

BENCHMARK(LoadBanner)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(SplitBanner)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(DrawFrame)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(PaintCopy)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
