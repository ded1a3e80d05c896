#include "tone/tone_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The frame after the last sample with sound in what the server holds.
std::uint64_t SoundEndIn(const Server& server) {
    const auto& f = server.frames;
    return static_cast<std::uint64_t>(
        f.rend() - std::find_if(f.rbegin(), f.rend(), [](float x) { return x != 0.0f; }));
}

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
        EXPECT_EQ(stream.SoundEnd(), SoundEndIn(server)) << safe;
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
    const auto stop = stream.Stop(safe + 96);
    ASSERT_TRUE(stop.has_value());
    EXPECT_EQ(stop->at, safe + 96) << "a stop may still land just past the late tone's start";
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
    stream.Forget(69600);
    const auto third = stream.Stop(40000);
    ASSERT_TRUE(third.has_value());
    EXPECT_EQ(third->at, 69600u) << "no saved state reaches back before the one at 69600";

    // Without reports of what is heard, the oldest states go: 64 are kept.
    for (int k = 0; k < 80; ++k) server.Write(stream, kWrite);
    EXPECT_EQ(stream.SavedStates(), 64u);
    server.Write(stream, kWrite);
    EXPECT_EQ(stream.SavedStates(), 64u);
    stream.Forget(server.frames.size());
    EXPECT_EQ(stream.SavedStates(), 1u) << "all heard: the last state is kept";
}

// Where nothing is left to rewrite: a stop at the write index, a stop at the end of the sound (the
// next tone then starts afresh at its safe point), a tone whose safe point is past all the server
// took (it begins with the next write, and a stop may still land before that safe point). A stop
// in a silence between tones leaves the end of the sound where the sound ended.
TEST(ToneStream, AtTheWriteIndexOrTheSoundsEndNothingIsRewritten) {
    ToneStream stream;
    Server server;
    stream.Queue(16000, 2000, 0);
    server.Write(stream, kWrite);
    EXPECT_FALSE(stream.Stop(kWrite).has_value()) << "at the write index";
    server.Write(stream, kWrite);
    ASSERT_TRUE(stream.Idle());
    const std::uint64_t end = stream.SoundEnd();
    EXPECT_FALSE(stream.Stop(end).has_value()) << "at the end of the sound";
    server.Apply(stream.Queue(16000, 100, end + 10));
    EXPECT_EQ(stream.LastQueuedStart(), end + 10) << "a fresh start";
    for (int k = 0; k < 3; ++k) server.Write(stream, kWrite);

    for (const std::uint64_t ahead : {0, 500}) {  // a safe point at or past all that was taken
        ToneStream late;
        Server taken;
        late.Queue(16000, 100, 0);
        for (int k = 0; k < 3; ++k) taken.Write(late, kWrite);
        EXPECT_FALSE(late.Stop(late.SoundEnd()).has_value());
        const std::uint64_t written = taken.frames.size();
        EXPECT_FALSE(late.Queue(16000, 500, written + ahead).has_value()) << ahead;
        EXPECT_EQ(late.LastQueuedStart(), written) << ahead;
        taken.Write(late, kWrite);
        const auto stop = late.Stop(written + 100);
        ASSERT_TRUE(stop.has_value()) << ahead;
        EXPECT_EQ(stop->at, written + 100) << ahead;
    }
    // Stopped in a silence before a tone, the end is put at the stop; after the last, where it was.
    for (const bool toneAfter : {true, false}) {
        ToneStream gap;
        Server held;
        gap.Queue(16000, 100, 0);
        gap.Queue(0, toneAfter ? 100 : 300, 0);
        gap.Queue(16000, toneAfter ? 100 : 0, 0);
        held.Write(gap, kWrite);
        held.Write(gap, kWrite);
        held.Apply(gap.Stop(150 * 48));
        EXPECT_EQ(gap.SoundEnd(), toneAfter ? 150 * 48 : SoundEndIn(held)) << toneAfter;
    }
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
    EXPECT_EQ(clock.Estimate(t0 + 1s, 100000), 72000) << "at the rate exactly";
    EXPECT_EQ(clock.Estimate(t0 + 5s, 100000), 100000) << "nothing past the write index plays";
    EXPECT_EQ(clock.Estimate(t0 - 1s, 100000), 24000) << "a report is never undone";
    EXPECT_EQ(clock.Estimate(t0 + 250ms, 20000), 24000) << "nor by a write index behind it";
    EXPECT_EQ(clock.Until(48000, t0 + 100ms, 100000), 400ms);
    EXPECT_EQ(clock.Until(24000, t0, 100000), 0ms);
    EXPECT_EQ(clock.Until(12000, t0, 100000), 0ms) << "heard already";
}

}  // namespace
