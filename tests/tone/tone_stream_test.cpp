#include "tone/tone_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "tone/rewind_probe_verdict.h"
#include "tone/stream_timing.h"

namespace {

constexpr std::size_t kWrite = 6960;  // 145 ms, among the sizes the server asks for (100 to 220 ms)

// What the server holds: every write and rewrite applied at its frame.
struct Server {
    std::vector<float> frames;

    void Write(ToneStream& stream, std::size_t count) {
        const std::size_t at = frames.size();
        frames.resize(at + count);
        stream.Render(frames.data() + at, count);
    }
    void Apply(const std::optional<ToneStream::Rewrite>& r) {
        if (!r) return;
        ASSERT_EQ(r->at + r->samples.size(), frames.size()) << "a rewrite ends at the write index";
        std::copy(r->samples.begin(), r->samples.end(), frames.begin() + r->at);
    }
};

std::vector<float> Reference(ToneSynth synth, std::size_t frames) {
    std::vector<float> out(frames);
    synth.Render(out.data(), out.size());
    return out;
}

void ExpectSame(const std::vector<float>& got, const std::vector<float>& want, std::size_t from,
                std::size_t to) {
    for (std::size_t n = from; n < to; ++n) ASSERT_EQ(got[n], want[n]) << "frame " << n;
}

TEST(ToneStream, StopFadesOutExactlyAtTheSafePointAsIfTheSynthesiserHadStoppedThere) {
    for (std::uint64_t safe : {7000u, 6960u * 2 + 5, 6960u * 3 - 1}) {
        ToneStream stream;
        Server server;
        stream.Queue(16000, 500, 0);
        stream.Queue(16010, 500, 0);
        for (int k = 0; k < 3; ++k) server.Write(stream, kWrite);
        server.Apply(stream.Stop(safe));
        server.Write(stream, kWrite);

        ToneSynth reference;
        reference.Queue(16000, 500);
        reference.Queue(16010, 500);
        std::vector<float> want = Reference(reference, safe);
        std::vector<float> before(safe);
        ToneSynth replay;
        replay.Queue(16000, 500);
        replay.Queue(16010, 500);
        replay.Render(before.data(), before.size());
        replay.Stop();
        std::vector<float> after(server.frames.size() - safe);
        replay.Render(after.data(), after.size());
        want.insert(want.end(), after.begin(), after.end());

        ExpectSame(server.frames, want, 0, server.frames.size());
        EXPECT_LE(stream.SoundEnd(), safe + stream.FadeFrames()) << safe;
        EXPECT_GT(stream.SoundEnd(), safe + stream.FadeFrames() - 4) << safe;
        EXPECT_TRUE(stream.Idle());
    }
}

TEST(ToneStream, TonesQueuedAfterTheirPlaceWasRenderedJoinAsIfTheyHadComeInTime) {
    // 37 ms tones, each queued only when the one before begins to be heard: far less than the
    // 145 ms the server takes at a time, so every place has been rendered already.
    ToneStream stream;
    Server server;
    ToneSynth reference;
    const int tones = 40;
    std::uint64_t heard = 0, previous = 0;
    int rewrites = 0;
    for (int k = 0; k < tones; ++k) {
        const auto hz = static_cast<std::uint32_t>(16000 + 30 * k);
        reference.Queue(hz, 37);
        // The safe point trails what is heard by 12 ms.
        const auto rewrite = stream.Queue(hz, 37, heard + 576);
        rewrites += rewrite.has_value();
        server.Apply(rewrite);
        previous = heard;
        heard = stream.LastQueuedStart();
        while (server.frames.size() < heard + 2 * kWrite) server.Write(stream, kWrite);
        stream.Forget(previous);
    }
    EXPECT_GT(rewrites, tones / 2);
    EXPECT_LE(stream.SavedStates(), 4u) << "states before what is heard are forgotten";
    // A stop while the tone before the last is heard comes before the last one's place, which
    // was rendered with a rewrite: it fades out at the safe point all the same, as the
    // synthesiser would have.
    const std::uint64_t stopAt = previous + 576;
    ASSERT_LT(stopAt + 96, stream.LastQueuedStart());
    server.Apply(stream.Stop(stopAt));
    std::vector<float> want = Reference(reference, stopAt);
    ToneSynth stopped = reference;
    std::vector<float> skip(stopAt);
    stopped.Render(skip.data(), skip.size());
    stopped.Stop();
    const std::vector<float> tail = Reference(stopped, server.frames.size() - stopAt);
    want.insert(want.end(), tail.begin(), tail.end());
    ExpectSame(server.frames, want, 0, server.frames.size());
}

TEST(ToneStream, ATonePastItsSafePlaceStartsAtTheSafePointAndOneInTimeNeedsNoRewrite) {
    ToneStream stream;
    Server server;
    EXPECT_FALSE(stream.Queue(16000, 500, 0).has_value()) << "nothing rendered yet";
    EXPECT_FALSE(stream.QueueNeedsRewrite());
    server.Write(stream, kWrite);
    EXPECT_FALSE(stream.QueueNeedsRewrite()) << "the next tone's place is 500 ms ahead";
    EXPECT_FALSE(stream.Queue(16010, 500, 0).has_value());
    for (int k = 0; k < 4; ++k) server.Write(stream, kWrite);  // 725 ms: the second tone runs

    // The sound ran dry at 1000 ms (48000 frames); the tone comes when 1100 ms have been heard.
    while (server.frames.size() < 60000) server.Write(stream, kWrite);
    ASSERT_TRUE(stream.QueueNeedsRewrite());
    const std::uint64_t safe = 52800;
    const auto rewrite = stream.Queue(16020, 100, safe);
    ASSERT_TRUE(rewrite.has_value());
    EXPECT_EQ(rewrite->at, safe);
    EXPECT_EQ(stream.LastQueuedStart(), safe);
    server.Apply(rewrite);
    EXPECT_EQ(server.frames[safe], 0.0f) << "it fades in from silence";
    EXPECT_NE(server.frames[safe + 1], 0.0f);
    for (std::size_t n = 48000 + stream.FadeFrames(); n < safe; ++n)
        ASSERT_EQ(server.frames[n], 0.0f) << "what was heard stays as it was, at " << n;
}

TEST(ToneStream, RewritesNeverReachBeforeTheLastOneNorBeforeWhatIsSaved) {
    ToneStream stream;
    Server server;
    stream.Queue(16000, 2000, 0);
    for (int k = 0; k < 10; ++k) server.Write(stream, kWrite);
    const auto first = stream.Stop(30000);
    ASSERT_TRUE(first.has_value());
    server.Apply(first);
    // A safe point reported behind the last rewrite (a stale report) is moved up to it.
    const auto second = stream.Queue(16500, 2000, 20000);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->at, 30000u);
    server.Apply(second);
    server.Write(stream, kWrite);
    server.Write(stream, kWrite);
    stream.Forget(75000);
    const auto third = stream.Stop(40000);
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(third->at, 69600u) << "no saved state reaches back before the one at 69600";
}

TEST(ToneStream, StoppingSilenceChangesNothingAndAStopPastTheWriteIndexFadesInTheNextWrite) {
    ToneStream stream;
    Server server;
    server.Write(stream, kWrite);
    EXPECT_FALSE(stream.Stop(100).has_value());

    server.Apply(stream.Queue(16000, 500, 100));
    EXPECT_EQ(stream.LastQueuedStart(), 100u) << "a fresh start begins at the safe point";
    server.Write(stream, kWrite);
    EXPECT_FALSE(stream.Stop(2 * kWrite + 10).has_value()) << "the server has taken everything";
    server.Write(stream, kWrite);
    EXPECT_LE(stream.SoundEnd(), 2 * kWrite + stream.FadeFrames());
    EXPECT_GT(stream.SoundEnd(), 2 * kWrite + stream.FadeFrames() - 4);
    // No rewrite reaches before the write index the fade came in.
    const auto again = stream.Queue(16000, 500, 0);
    ASSERT_TRUE(again.has_value());
    EXPECT_GE(again->at, 2 * kWrite);
}

TEST(StreamTiming, TheSafePointLiesPastWhatTheSinkHoldsAndMayTakeNext) {
    // PulseAudio: 480 frames in the sink of 720 configured, 48 frames old, 2 ms of margin.
    const StreamTiming pulse{10000, 480, 720, 48};
    EXPECT_EQ(HeardFrame(pulse), 10000 - 480 + 48);
    EXPECT_EQ(SafePoint(pulse, {480, 256}, 96), 10000 - 480 + 48 + 720 + 96);
    // A server reporting no sink latency: the read index plus the larger of the latency asked for
    // and one graph cycle.
    const StreamTiming silent{10000, 0, 0, 48};
    EXPECT_EQ(HeardFrame(silent), 10048);
    EXPECT_EQ(SafePoint(silent, {480, 256}, 96), 10048 + 480 + 96);
    EXPECT_EQ(SafePoint(silent, {100, 256}, 96), 10048 + 256 + 96);
    EXPECT_EQ(HeardFrame({100, 480, 480, 0}), 0) << "never before the stream's start";
    // A drained sink reports its configured latency alone: what it may take next counts.
    EXPECT_EQ(SafePoint({10000, 0, 720, 48}, {480, 256}, 96), 10048 + 720 + 96);
    // A sink that rewinds gives back what it holds: just past what is heard.
    EXPECT_EQ(SafePoint(pulse, {480, 256, true}, 96), 10000 - 480 + 48 + 96);
}

TEST(StreamTiming, ARewindProbeGoesBetweenWhatIsHeardAndWhatTheSinkHasTaken) {
    struct Case {
        StreamTiming timing;
        std::optional<std::int64_t> frame;
    };
    const Case cases[] = {
        {{10000, 4800, 4800, 48}, 10000 - 4800 + 48 + 144},  // the sink holds 100 ms
        {{10000, 140, 480, 0}, std::nullopt},                // holds less than the margin
        {{10000, 192, 480, 48}, std::nullopt},  // report too old: all it held may be heard
        {{0, 4800, 4800, 0}, std::nullopt},     // has taken nothing yet
        {{4000, 4800, 12000, 0}, 144},          // has taken the stream, heard none of it
        {{10000, 146, 480, 0}, 9998},           // the probe ends a frame before the read index
        {{10000, 145, 480, 0}, std::nullopt},   // it would end at the read index: no telling
    };
    for (const Case& test : cases) {
        EXPECT_EQ(RewindProbeFrame(test.timing, 144), test.frame) << test.timing.readIndex;
    }
}

TEST(StreamTiming, AProbeIsSureOfARewindAlwaysAndOfNoneOnlyWhenItsWriteCameInTime) {
    // Placed when 4048 was heard, at 5968: in time while 960 of the 1920-frame margin are left.
    const StreamTiming placed{10000, 6000, 12000, 48};
    struct Case {
        StreamTiming placedBy;
        std::int64_t arrivedAfter, readIndexAfter;
        std::optional<RewindProbeVerdict> verdict;  // none: the sink never holds a probe
    };
    const Case cases[] = {
        {placed, 1008, 10000, RewindProbeVerdict::kKeeps},   // just in time
        {placed, 1009, 10000, RewindProbeVerdict::kUnsure},  // a frame too late
        {placed, 1009, 5969, RewindProbeVerdict::kRewinds},  // stopped at the frame's end
        {placed, 0, 5970, RewindProbeVerdict::kKeeps},       // moved a frame past it
        {{10000, 1922, 1922, 0}, 0, 10000, RewindProbeVerdict::kKeeps},  // configured to hold one
        {{10000, 1921, 1921, 0}, 0, 10000, std::nullopt},                // a frame short of that
    };
    for (const Case& test : cases) {
        std::optional<RewindProbeVerdict> got;
        if (SinkHoldsRewindProbe(test.placedBy, 1920)) {
            got = ReadRewindProbe({test.placedBy, test.arrivedAfter, test.readIndexAfter}, 1920);
        }
        EXPECT_EQ(got, test.verdict) << "case " << &test - cases;
    }
}

TEST(StreamTiming, TheHeardClockRunsOnFromItsLastReportButNeverPastTheWriteIndex) {
    using namespace std::chrono_literals;
    HeardClock clock(48000);
    const auto t0 = HeardClock::Clock::time_point{} + 1h;
    EXPECT_FALSE(clock.Estimate(t0, 100000).has_value());
    EXPECT_EQ(clock.Until(48000, t0, 100000), 0ms) << "no report to go by";
    clock.Report(24000, t0);
    EXPECT_EQ(clock.Estimate(t0 + 250ms, 100000), 36000);
    EXPECT_EQ(clock.Estimate(t0 + 5s, 100000), 100000) << "nothing past the write index plays";
    EXPECT_EQ(clock.Estimate(t0 - 1s, 100000), 24000) << "a report is never undone";
    EXPECT_EQ(clock.Estimate(t0 + 250ms, 20000), 24000) << "nor by a write index behind it";
    EXPECT_EQ(clock.Until(48000, t0 + 100ms, 100000), 400ms);
    EXPECT_EQ(clock.Until(24000, t0, 100000), 0ms);
}

}  // namespace
