#include "tone/pull_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

struct HandFedOutput final : PullOutput {
    HandFedOutput() : PullOutput(48000, /*heardDelayFrames=*/1000) { noWait.request_stop(); }
    std::string Name() const override { return "hand-fed"; }
    using PullOutput::Fail;
    void PullTo(std::size_t end, std::size_t buffer) {
        for (std::size_t at = samples.size(); at < end; at = samples.size()) {
            samples.resize(std::min(end, at + buffer));
            Render(samples.data() + at, static_cast<std::uint32_t>(samples.size() - at));
        }
    }
    std::vector<float> samples;
    std::stop_source noWait;  // Play queues and returns
};

// A Silence comes as the tone (500 Hz) begins to be heard, 1000 frames after its first.
TEST(PullOutput, SoundCountsAsHeardOnceTheDelayHasBeenRenderedAfterIt) {
    for (const auto& [silentMs, buffer] : {std::pair{0u, 256u}, {10, 1}, {7, 441}, {25, 4096}}) {
        HandFedOutput out;
        out.Play(0, silentMs, out.noWait.get_token());
        out.Play(500, 100, out.noWait.get_token());
        const auto turnsTrueAt = [&](std::size_t frame, bool (PullOutput::*heard)() const) {
            out.PullTo(frame - 1, buffer);
            EXPECT_FALSE((out.*heard)()) << frame << " in buffers of " << buffer;
            out.PullTo(frame, buffer);
            EXPECT_TRUE((out.*heard)()) << frame << " in buffers of " << buffer;
        };
        turnsTrueAt(silentMs * 48 + 1000, &PullOutput::Sounding);
        out.Silence();
        out.PullTo(out.samples.size() + 192 + 200, buffer);  // the fade, and 200 frames more
        const std::vector<float>& s = out.samples;
        for (std::size_t i = 1; i < s.size(); ++i) ASSERT_NEAR(s[i], s[i - 1], 0.02f) << i;
        const auto sound = [](float x) { return x != 0; };
        const std::size_t end = s.rend() - std::find_if(s.rbegin(), s.rend(), sound);
        EXPECT_LE(end, s.size() - 200);
        turnsTrueAt(end + 1000 + 480, &PullOutput::Drained);  // with Drain's margin of 10 ms
    }
}

TEST(PullOutput, AFailureWakesAWaiterAndEndsEveryWait) {
    HandFedOutput out;
    out.PullTo(1480, 1480);  // drained
    std::jthread waiter([&] { out.Play(1000, 100, {}); });
    while (out.Drained()) std::this_thread::yield();  // until Play has queued its tone and waits
    out.Fail();
    out.WaitUntilSounding({}, std::chrono::hours(1));
    out.Drain(std::chrono::hours(1));
}  // a wait that the failure does not end keeps the test from ending
