#include "tone/pull_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

struct HandFedOutput final : PullOutput {
    HandFedOutput() : PullOutput(48000, /*heardDelayFrames=*/1000) { noWait.request_stop(); }
    std::string Name() const override { return "hand-fed"; }
    using PullOutput::Fail;
    // Every wait asks this as it begins and whenever woken: a waiter that has asked it waits.
    bool Failed() const override {
        ++asked;
        return PullOutput::Failed();
    }
    mutable std::atomic<int> asked{0};
    void Restart(unsigned rate, std::uint32_t heardDelay) {
        Reset(rate, heardDelay);
        samples.clear();
    }
    void PullTo(std::size_t end, std::size_t buffer) {
        for (std::size_t at = samples.size(); at < end; at = samples.size()) {
            samples.resize(std::min(end, at + buffer));
            Render(samples.data() + at, static_cast<std::uint32_t>(samples.size() - at));
        }
    }
    std::vector<float> samples;
    std::stop_source noWait;  // Play queues and returns
};

// A Silence comes as the tone (500 Hz) begins to be heard, the heard delay after its first frame;
// a device reopened at another rate and delay starts afresh, whatever it played before.
TEST(PullOutput, SoundCountsAsHeardOnceTheDelayHasBeenRenderedAfterIt) {
    struct Case {
        unsigned silentMs;
        std::size_t buffer;
        bool reopened;  // at 44.1 kHz with a delay of 2000 frames, after a tone at 48 kHz
    };
    for (const Case& test : {Case{0, 256, false},
                             {10, 1, false},
                             {7, 441, false},
                             {25, 4096, false},
                             {10, 300, true}}) {
        HandFedOutput out;
        std::size_t rate = 48000, delay = 1000;
        if (test.reopened) {
            out.Play(500, 200, out.noWait.get_token());
            out.PullTo(9600, 480);
            rate = 44100, delay = 2000;
            out.Restart(44100, 2000);
            out.PullTo(delay + rate / 100, 441);
            EXPECT_TRUE(out.Drained()) << "what played before it reopened counts no more";
            out.Restart(44100, 2000);
        }
        const std::size_t buffer = test.buffer;
        out.Play(0, test.silentMs, out.noWait.get_token());
        out.Play(500, 100, out.noWait.get_token());
        const auto turnsTrueAt = [&](std::size_t frame, bool (PullOutput::*heard)() const) {
            out.PullTo(frame - 1, buffer);
            EXPECT_FALSE((out.*heard)()) << frame << " in buffers of " << buffer;
            out.PullTo(frame, buffer);
            EXPECT_TRUE((out.*heard)()) << frame << " in buffers of " << buffer;
        };
        turnsTrueAt(test.silentMs * rate / 1000 + delay, &PullOutput::Sounding);
        out.Silence();
        out.PullTo(out.samples.size() + 192 + 200, buffer);  // the fade, and 200 frames more
        const std::vector<float>& s = out.samples;
        for (std::size_t i = 1; i < s.size(); ++i) ASSERT_NEAR(s[i], s[i - 1], 0.02f) << i;
        const auto sound = [](float x) { return x != 0; };
        const std::size_t end = s.rend() - std::find_if(s.rbegin(), s.rend(), sound);
        EXPECT_LE(end, s.size() - 200);
        turnsTrueAt(end + delay + rate / 100, &PullOutput::Drained);  // with Drain's 10 ms margin
    }
}

// Each wait ends with the buffer that brings what it waits for, the only one rendered while it
// waits: the next tone begun, the first tone heard, the sound drained; or with a Silence.
TEST(PullOutput, AWaitEndsWithTheBufferThatBringsWhatItWaitsFor) {
    using Out = HandFedOutput;
    struct Case {
        std::function<void(Out&)> wait;
        std::function<bool(Out&)> brought;  // none: a Silence ends the wait
    };
    const auto nextTone = [](Out& o) { o.Play(600, 10, {}); };
    const Case cases[] = {
        {nextTone, [](Out& o) { return o.samples.size() > 4800; }},
        {[](Out& o) { o.WaitUntilSounding({}, std::chrono::hours(1)); },
         [](Out& o) { return o.Sounding(); }},
        {[](Out& o) { o.Drain(std::chrono::hours(1)); }, [](Out& o) { return o.Drained(); }},
        {nextTone, nullptr},
    };
    const auto playing = [](Out& o) {
        o.Play(500, 100, o.noWait.get_token());
        o.PullTo(100, 100);
    };
    for (const Case& test : cases) {
        std::size_t brings = 100;  // where the buffer that brings it ends, found on a twin
        if (test.brought) {
            Out twin;
            playing(twin);
            while (!test.brought(twin)) twin.PullTo(twin.samples.size() + 100, 100);
            brings = twin.samples.size();
        }
        Out out;
        playing(out);
        out.PullTo(brings - 100, 100);
        const int asked = out.asked;
        std::jthread waiter([&] { test.wait(out); });
        while (out.asked == asked) std::this_thread::yield();
        if (test.brought) out.PullTo(brings, 100);
        if (!test.brought) out.Silence();
    }  // a wait that nothing ends keeps the test from ending
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
