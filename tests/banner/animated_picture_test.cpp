// The animated picture against fake ports: a decoder whose pictures fill their rectangle with one
// colour, in-memory surfaces, and a frame waiter the test steps through wait by wait.
#include "banner/animated_picture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <sstream>

#include "tests/banner/gif_builder.h"
#include "tests/banner/picture_fakes.h"
#include "tests/support/fake_resources.h"
#include "tests/support/memory_surface.h"

namespace {

using gif_test::Bytes;
using gif_test::GifBuilder;
using picture_test::FakeFrameWaiter;
using picture_test::FakePictureDecoder;

constexpr Color kMenu = Rgb(200, 200, 250);
constexpr Color kFace = Rgb(212, 208, 200);
constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kGreen = Rgb(0, 255, 0);
constexpr Color kBlue = Rgb(0, 0, 255);
constexpr Color kYellow = Rgb(255, 255, 0);
constexpr Color kUnpainted = Rgb(9, 9, 9);
constexpr PictureColors kColors{kMenu, kFace};

constexpr Size kScreen{16, 8};

// A frame of the test GIFs: where it lies and how it is shown.
struct FrameSpec {
    int left, top, width, height;
    unsigned delay = 10;
    unsigned disposal = 1;
    bool control = true;  // false: no control extension, so no delay
};

// An animated GIF of kScreen with these frames, after a looping extension.
Bytes AnimatedGif(const std::vector<FrameSpec>& frames) {
    GifBuilder gif(1);
    gif.Screen(kScreen.width, kScreen.height).Looping();
    for (const FrameSpec& f : frames) {
        if (f.control) gif.Control(f.delay, f.disposal);
        gif.Image(unsigned(f.left), unsigned(f.top), unsigned(f.width), unsigned(f.height));
    }
    return gif.Trailer().bytes;
}

// Compares two pictures and names the first pixel that differs.
testing::AssertionResult SamePixels(const MemorySurface& actual, const MemorySurface& expected) {
    if (actual.GetSize() != expected.GetSize())
        return testing::AssertionFailure() << "sizes differ";
    const int width = actual.GetSize().width;
    int differing = 0;
    std::ostringstream first;
    for (std::size_t i = 0; i < actual.Pixels().size(); ++i) {
        if (actual.Pixels()[i] == expected.Pixels()[i]) continue;
        if (differing++ == 0) {
            first << "(" << int(i) % width << ", " << int(i) / width << ") is " << std::hex
                  << actual.Pixels()[i] << ", not " << expected.Pixels()[i];
        }
    }
    if (differing == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << differing << " pixels differ; " << first.str();
}

// The canvas as it would look after painting `layers` in order over a fill.
MemorySurface Expected(Color fill, std::vector<std::pair<Rect, Color>> layers = {}) {
    MemorySurface surface(kScreen, fill);
    for (const auto& [rect, color] : layers) surface.FillSolidRect(rect, color);
    return surface;
}

Rect RectOf(const FrameSpec& f) { return {f.left, f.top, f.left + f.width, f.top + f.height}; }

class AnimatedPictureTest : public ::testing::Test {
protected:
    FakePictureDecoder decoder;
    std::shared_ptr<MemorySurfaceFactory> surfaces = std::make_shared<MemorySurfaceFactory>();
    std::shared_ptr<FakeFrameWaiter> waiter = std::make_shared<FakeFrameWaiter>();
    std::atomic<int> repaints{0};
    std::unique_ptr<CAnimatedPicture> picture = Make(waiter);

    std::unique_ptr<CAnimatedPicture> Make(
        std::shared_ptr<FrameWaiter> frame_waiter,
        std::chrono::milliseconds halt_timeout = CAnimatedPicture::kHaltTimeout) {
        return std::make_unique<CAnimatedPicture>(
            decoder, surfaces, kColors, [this] { ++repaints; }, std::move(frame_waiter),
            halt_timeout);
    }

    // Loads frames decoded as `colors`, each at its frame's size (no colour: fails to decode).
    bool Load(const std::vector<FrameSpec>& frames,
              const std::vector<std::optional<Color>>& colors) {
        std::vector<FakePictureDecoder::Result> script;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            script.push_back({colors[i], {frames[i].width, frames[i].height}});
        }
        decoder.Script(script);
        return picture->LoadFromMemory(AnimatedGif(frames));
    }

    // What a paint shows, over a target that starts kUnpainted.
    MemorySurface Shown(Size size = kScreen) const {
        MemorySurface target(size, kUnpainted);
        picture->Paint(target);
        return target;
    }
};

TEST_F(AnimatedPictureTest, FramesAreHeldForTheirDelaysAndTheLastOneUntilHalted) {
    std::vector<FrameSpec> frames;
    for (unsigned delay : {0u, 1u, 2u, 3u, 4u, 5u, 20u}) frames.push_back({0, 0, 2, 2, delay});
    frames.push_back({0, 0, 2, 2, 0, 0, false});
    ASSERT_TRUE(Load(frames, std::vector<std::optional<Color>>(frames.size(), kRed)));
    ASSERT_TRUE(picture->IsAnimation());
    EXPECT_EQ(picture->FrameCount(), 8u);

    waiter->HoldAt(8);
    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(8));
    EXPECT_EQ(waiter->Waits(),
              (std::vector<std::uint32_t>{100, 100, 100, 100, 100, 50, 200, 4294967286u}));
    // Past the held frame the next pass begins with the first one.
    ASSERT_TRUE(waiter->RunTo(9));
    EXPECT_EQ(waiter->Waits().back(), 100u);

    picture->HaltAnimation();
    EXPECT_FALSE(picture->IsAnimating());
    EXPECT_FALSE(waiter->Holding());
    EXPECT_EQ(waiter->Waits().size(), 9u) << "no wait after the halt";
}

TEST_F(AnimatedPictureTest, PassesStartOverTheMenuColourAndEndClearedToTheButtonFace) {
    const std::vector<FrameSpec> frames = {{0, 0, 4, 4}, {4, 4, 4, 4}};
    ASSERT_TRUE(Load(frames, {kRed, kBlue}));
    EXPECT_TRUE(SamePixels(Shown(), Expected(kMenu)));

    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(1));
    EXPECT_TRUE(SamePixels(Shown(), Expected(kMenu, {{RectOf(frames[0]), kRed}})));
    ASSERT_TRUE(waiter->RunTo(2));
    EXPECT_TRUE(SamePixels(
        Shown(), Expected(kMenu, {{RectOf(frames[0]), kRed}, {RectOf(frames[1]), kBlue}})));
    ASSERT_TRUE(waiter->RunTo(3));
    EXPECT_TRUE(SamePixels(Shown(), Expected(kFace, {{RectOf(frames[0]), kRed}})));
    EXPECT_EQ(repaints.load(), 3);
}

TEST_F(AnimatedPictureTest, DisposalTwoFillsTheFrameWithTheButtonFace) {
    const std::vector<FrameSpec> frames = {
        {0, 0, 16, 8}, {2, 2, 6, 4, 10, 2}, {6, 0, 4, 4}, {14, 6, 2, 2}};
    ASSERT_TRUE(Load(frames, {kGreen, kBlue, kRed, kYellow}));
    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->RunTo(3));
    EXPECT_TRUE(SamePixels(Shown(), Expected(kMenu, {{RectOf(frames[0]), kGreen},
                                                     {RectOf(frames[1]), kFace},
                                                     {RectOf(frames[2]), kRed}})));
}

// The third frame runs far past the screen's right edge.
TEST_F(AnimatedPictureTest, DisposalThreeRestoresWhatTheFrameCovered) {
    const std::vector<FrameSpec> frames = {
        {0, 0, 16, 8}, {0, 0, 6, 8}, {4, 2, 60000, 4, 10, 3}, {14, 0, 2, 2}};
    ASSERT_TRUE(Load(frames, {kGreen, kYellow, kBlue, kRed}));
    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->RunTo(2));
    MemorySurface before = Shown();
    ASSERT_TRUE(waiter->RunTo(3));
    EXPECT_EQ(Shown().GetPixel({8, 3}), kBlue);
    ASSERT_TRUE(waiter->RunTo(4));
    before.FillSolidRect(RectOf(frames[3]), kRed);
    EXPECT_TRUE(SamePixels(Shown(), before));
    EXPECT_EQ(surfaces->largest_area.load(), kScreen.width * kScreen.height);
}

// Halted while its second frame (disposal 3) is on show, the animation starts again on that
// frame: the restart gives back what the frame covered before drawing it again, so its next
// disposal restores the first frame's pixels, not its own.
TEST_F(AnimatedPictureTest, RestartDisposesOfTheFrameOnShowAndDrawsItAgain) {
    const std::vector<FrameSpec> frames = {
        {0, 0, 16, 8, 10}, {4, 2, 8, 4, 20, 3}, {14, 0, 2, 2, 30}};
    ASSERT_TRUE(Load(frames, {kGreen, kBlue, kRed}));
    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(1));
    ASSERT_TRUE(waiter->RunTo(2));
    picture->HaltAnimation();
    const MemorySurface on_show =
        Expected(kMenu, {{RectOf(frames[0]), kGreen}, {RectOf(frames[1]), kBlue}});
    EXPECT_TRUE(SamePixels(Shown(), on_show));
    const int draws = decoder.log->Draws();

    waiter->HoldAt(3);
    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(3));
    EXPECT_EQ(waiter->Waits().back(), 200u) << "the second frame is on show again";
    EXPECT_EQ(decoder.log->Draws(), draws + 1);
    EXPECT_TRUE(SamePixels(Shown(), on_show));
    ASSERT_TRUE(waiter->RunTo(4));
    EXPECT_TRUE(SamePixels(
        Shown(), Expected(kMenu, {{RectOf(frames[0]), kGreen}, {RectOf(frames[2]), kRed}})));
}

TEST_F(AnimatedPictureTest, FramesThatFailToDecodeAreDroppedAndWithoutAnyTheLoadFails) {
    const std::vector<FrameSpec> frames = {{0, 0, 2, 2, 10}, {0, 0, 2, 2, 20}, {0, 0, 2, 2, 30}};
    ASSERT_TRUE(Load(frames, {kRed, std::nullopt, kBlue}));
    EXPECT_EQ(picture->FrameCount(), 2u);
    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->RunTo(3));
    EXPECT_EQ(waiter->Waits(), (std::vector<std::uint32_t>{100, 300, 100}));

    EXPECT_FALSE(Load(frames, {std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(picture->FrameCount(), 0u);
    EXPECT_FALSE(picture->StartShowing());
    EXPECT_TRUE(SamePixels(Shown(), Expected(kUnpainted)));
}

TEST_F(AnimatedPictureTest, LoadsThatFailLeaveNothingToShow) {
    EXPECT_FALSE(picture->StartShowing()) << "before any load";

    GifBuilder no_frames(0);
    no_frames.Screen(kScreen.width, kScreen.height).Trailer();
    FakeResources resources;
    resources.Add("GIF", 168, AnimatedGif({{0, 0, 2, 2}, {0, 0, 2, 2}}));
    const std::vector<std::function<bool()>> loads = {
        [&] { return picture->LoadFromMemory({}); },
        [&] { return picture->LoadFromMemory(no_frames.bytes); },
        [&] {
            decoder.Script({});  // the whole picture fails to decode
            return picture->LoadFromMemory(Bytes{std::byte{'B'}, std::byte{'M'}});
        },
        [&] {
            decoder.Script({{kRed, {2, 2}}, {kRed, {2, 2}}});
            surfaces->fail = true;
            return picture->LoadFromResource(resources, 168, "GIF");
        },
    };
    for (const auto& load : loads) {
        SCOPED_TRACE(&load - loads.data());
        // Something shown before: a failed load takes it away.
        surfaces->fail = false;
        ASSERT_TRUE(Load({{0, 0, 2, 2}, {0, 0, 2, 2}}, {kRed, kRed}));
        EXPECT_FALSE(load());
        EXPECT_FALSE(picture->StartShowing());
        EXPECT_FALSE(picture->IsAnimation());
        EXPECT_EQ(decoder.log->Live(), 0) << "every picture is freed";
        EXPECT_TRUE(SamePixels(Shown(), Expected(kUnpainted)));
    }
    surfaces->fail = false;
    decoder.Script({{kRed, {2, 2}}, {kBlue, {2, 2}}});
    EXPECT_TRUE(picture->LoadFromResource(resources, 168, "GIF"));
    // A resource that is not there is no load at all: what was loaded stays.
    EXPECT_FALSE(picture->LoadFromResource(resources, 169, "GIF"));
    EXPECT_TRUE(picture->IsAnimation());
}

TEST_F(AnimatedPictureTest, OneFrameGifIsAStillPictureAtItsLogicalScreenSize) {
    GifBuilder gif(1);
    gif.Screen(kScreen.width, kScreen.height).Control(10, 1).Image(2, 2, 4, 4).Trailer();
    decoder.Script({{kRed, {4, 4}}});
    ASSERT_TRUE(picture->LoadFromMemory(gif.bytes));
    EXPECT_EQ(decoder.inputs, std::vector<Bytes>{gif.bytes}) << "decoded whole";
    EXPECT_EQ(picture->GetSize(), kScreen);
    EXPECT_FALSE(picture->IsAnimation());
    EXPECT_TRUE(SamePixels(Shown(), Expected(kMenu)));

    ASSERT_TRUE(picture->StartShowing());
    EXPECT_FALSE(picture->IsAnimating());
    EXPECT_TRUE(SamePixels(Shown(), Expected(kRed)));
    EXPECT_EQ(repaints.load(), 1);
}

TEST_F(AnimatedPictureTest, OtherDataIsAStillPictureAtItsOwnSize) {
    GifBuilder other_version(1, "90a");
    other_version.Control(10, 1).Image(0, 0, 2, 2).Control(10, 1).Image(0, 0, 2, 2).Trailer();
    const Bytes bitmap = {std::byte{'B'}, std::byte{'M'}, std::byte{0}};
    for (const Bytes& data : {bitmap, other_version.bytes}) {
        decoder.inputs.clear();
        decoder.Script({{kBlue, {5, 3}}});
        ASSERT_TRUE(picture->LoadFromMemory(data));
        EXPECT_EQ(decoder.inputs, std::vector<Bytes>{data}) << "decoded whole";
        EXPECT_EQ(picture->GetSize(), (Size{5, 3}));
        EXPECT_FALSE(picture->IsAnimation());
        ASSERT_TRUE(picture->StartShowing());
        MemorySurface expected({5, 3}, kBlue);
        EXPECT_TRUE(SamePixels(Shown({5, 3}), expected));
    }
}

TEST_F(AnimatedPictureTest, ReleaseAndDestructionHaltTheThreadAndFreeTheContent) {
    const std::vector<FrameSpec> frames = {{0, 0, 2, 2, 10}, {0, 0, 2, 2, 20}};
    ASSERT_TRUE(Load(frames, {kRed, kBlue}));
    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->RunTo(2));

    picture->ReleaseContent();
    EXPECT_FALSE(picture->IsAnimating());
    EXPECT_FALSE(waiter->Holding());
    EXPECT_EQ(decoder.log->Live(), 0);
    EXPECT_FALSE(picture->IsAnimation());
    EXPECT_FALSE(picture->StartShowing());
    EXPECT_TRUE(SamePixels(Shown(), Expected(kUnpainted)));

    // A new load starts on its first frame.
    ASSERT_TRUE(Load(frames, {kRed, kBlue}));
    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->RunTo(3));
    EXPECT_EQ(waiter->Waits().back(), 100u);
    picture.reset();
    EXPECT_FALSE(waiter->Holding());
    EXPECT_EQ(decoder.log->Live(), 0);
}

// A frame held for 4294967286 ms on the real waiter: halting wakes the wait at once.
TEST_F(AnimatedPictureTest, HaltingWakesTheRealWaitAtOnce) {
    // Tells the test when the thread is about to wait, then waits for real.
    class EnteringWaiter final : public FrameWaiter {
    public:
        void Wait(std::uint32_t ms, std::stop_token stop) override {
            {
                std::lock_guard lock(mutex);
                entered_ms = ms;
                entered.notify_all();
            }
            m_real.Wait(ms, stop);
        }
        std::mutex mutex;
        std::condition_variable entered;
        std::uint32_t entered_ms = 0;

    private:
        SteadyFrameWaiter m_real;
    };
    auto entering = std::make_shared<EnteringWaiter>();
    picture = Make(entering);
    ASSERT_TRUE(Load({{0, 0, 2, 2, 0, 0, false}, {0, 0, 2, 2}}, {kRed, kBlue}));
    ASSERT_TRUE(picture->StartShowing());
    {
        std::unique_lock lock(entering->mutex);
        ASSERT_TRUE(entering->entered.wait_for(lock, std::chrono::seconds(10),
                                               [&] { return entering->entered_ms != 0; }));
        EXPECT_EQ(entering->entered_ms, 4294967286u);
    }
    const auto start = std::chrono::steady_clock::now();
    picture->HaltAnimation();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(picture->IsAnimating());
    EXPECT_TRUE(picture->IsAnimation()) << "joined, not let go: the content stays";
}

// A thread stuck in a picture's drawing is let go after the halt's bound: the control is left
// empty at once, the thread asks for no more repaints, and it frees the frames when it ends.
TEST_F(AnimatedPictureTest, AThreadThatWillNotEndIsLetGoWithItsContent) {
    constexpr std::chrono::milliseconds kBound{50};
    picture = Make(waiter, kBound);
    ASSERT_TRUE(Load({{0, 0, 2, 2}, {0, 0, 2, 2}}, {kRed, kBlue}));
    ASSERT_TRUE(picture->StartShowing());
    ASSERT_TRUE(waiter->AwaitHold(1));
    auto log = decoder.log;
    log->SetGate(false);
    waiter->HoldAt(2);
    ASSERT_TRUE(log->Await([&] { return log->held_at_gate; }));

    const auto start = std::chrono::steady_clock::now();
    picture->HaltAnimation();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, kBound);
    EXPECT_LT(waited, CAnimatedPicture::kHaltTimeout) << "the picture's own bound, not the default";
    EXPECT_FALSE(picture->IsAnimating());
    EXPECT_FALSE(picture->IsAnimation());
    EXPECT_FALSE(picture->StartShowing());
    EXPECT_TRUE(SamePixels(Shown(), Expected(kUnpainted))) << "paints without waiting";
    const int repaints_before = repaints.load();
    picture.reset();
    EXPECT_EQ(log->Live(), 2) << "the thread still holds the frames";

    log->SetGate(true);
    EXPECT_TRUE(log->Await([&] { return log->live == 0; }));
    EXPECT_EQ(repaints.load(), repaints_before);
}

}  // namespace
