// Random commands from the user-interface thread while the animation runs with waits of a few
// milliseconds. Run under TSan this finds unguarded canvas pixels and state shared with the
// thread; everywhere it finds deadlocks, threads that outlive a halt and repaints after the end.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>

#include "banner/animated_picture.h"
#include "tests/banner/gif_builder.h"
#include "tests/banner/picture_fakes.h"
#include "tests/support/memory_surface.h"

namespace {

using gif_test::Bytes;
using gif_test::GifBuilder;
using picture_test::FakePicture;
using picture_test::PictureLog;

// Decodes anything into a picture of one of four colours in turn.
class CyclingDecoder final : public PictureDecoder {
public:
    std::unique_ptr<Picture> Decode(std::span<const std::byte>) const override {
        static constexpr Color kColors[] = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255),
                                            Rgb(255, 255, 0)};
        return std::make_unique<FakePicture>(kColors[m_decoded++ % 4], Size{3, 3}, log);
    }
    std::shared_ptr<PictureLog> log = std::make_shared<PictureLog>();

private:
    mutable std::size_t m_decoded = 0;
};

// The real wait, a hundred times shorter: frames of 0 to 20 hundredths last 0 to 2 ms.
class ShortWaiter final : public FrameWaiter {
public:
    void Wait(std::uint32_t ms, std::stop_token stop) override {
        ++waits;
        m_real.Wait(ms / 100, stop);
    }
    std::atomic<int> waits{0};

private:
    SteadyFrameWaiter m_real;
};

TEST(AnimatedPictureStress, TwentyThousandRandomCommandsWhileFramesAreDrawn) {
    GifBuilder animated(1);
    animated.Screen(12, 8).Looping();
    animated.Control(0, 1).Image(0, 0, 12, 8);
    animated.Control(3, 2).Image(2, 1, 6, 4);
    animated.Control(5, 3).Image(5, 3, 7, 5);
    animated.Control(20, 0).Image(1, 1, 2, 2);
    animated.Trailer();
    GifBuilder still(1);
    still.Screen(12, 8).Image(0, 0, 4, 4).Trailer();
    const Bytes other = {std::byte{'B'}, std::byte{'M'}};
    const Bytes* const loads[] = {&animated.bytes, &animated.bytes, &still.bytes, &other};

    CyclingDecoder decoder;
    auto surfaces = std::make_shared<MemorySurfaceFactory>();
    auto waiter = std::make_shared<ShortWaiter>();
    std::atomic<bool> owner_alive{false};
    std::atomic<int> repaints{0};
    std::atomic<int> repaints_without_owner{0};
    const auto make = [&] {
        owner_alive = true;
        return std::make_unique<CAnimatedPicture>(
            decoder, surfaces, PictureColors{},
            [&] {
                ++repaints;
                if (!owner_alive) ++repaints_without_owner;
            },
            waiter);
    };
    std::unique_ptr<CAnimatedPicture> picture = make();

    std::mt19937 random(20250611);
    // Load, start, halt, paint, release, destroy: mostly paints, so that they meet the drawing.
    std::discrete_distribution<int> command({3, 10, 2, 83, 1, 1});
    int paints_while_animating = 0;
    // A busy machine may not schedule the animation thread within the 20000 commands: go on until
    // it has waited and asked for repaints, so that the threads are known to have met.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const auto threads_met = [&] { return waiter->waits.load() > 10 && repaints.load() > 10; };
    for (int i = 0; i < 20000 || (!threads_met() && std::chrono::steady_clock::now() < deadline);
         ++i) {
        // Whether a load or a start works does not matter here, only that nothing races.
        switch (command(random)) {
            case 0:
                static_cast<void>(
                    picture->LoadFromMemory(*loads[std::uniform_int_distribution<>(0, 3)(random)]));
                break;
            case 1:
                static_cast<void>(picture->StartShowing());
                break;
            case 2:
                picture->HaltAnimation();
                break;
            case 3: {
                MemorySurface target({12, 8});
                if (picture->IsAnimating()) ++paints_while_animating;
                picture->Paint(target);
                break;
            }
            case 4:
                picture->ReleaseContent();
                break;
            case 5:
                picture.reset();
                owner_alive = false;
                picture = make();
                break;
        }
    }
    picture.reset();
    owner_alive = false;

    std::printf("%d paints while animating, %d frames drawn\n", paints_while_animating,
                decoder.log->Draws());
    EXPECT_GT(paints_while_animating, 1000);
    EXPECT_GT(waiter->waits.load(), 0);
    EXPECT_GT(repaints.load(), 0);
    EXPECT_EQ(repaints_without_owner.load(), 0) << "a thread asked for a repaint after its end";
    EXPECT_EQ(decoder.log->Live(), 0) << "every picture is freed";
}

}  // namespace
