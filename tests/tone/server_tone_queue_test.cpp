#include "tone/server_tone_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Clock = ServerToneQueue::Clock;
constexpr std::int64_t kRate = 48000;
constexpr std::int64_t Ms(double ms) { return static_cast<std::int64_t>(ms * kRate / 1000); }
Clock::time_point At(std::int64_t frame) {
    return Clock::time_point{} + std::chrono::microseconds(frame * 1000000 / kRate);
}

// A model of a sound server whose stream has played since frame 0 at its rate: by time `heard`
// (in frames) frame `heard` is heard. Its read index runs `readAhead` past that, of which it
// reports `reported` as the sink's latency; before a write reaches it, it may take `takesNext`
// more. A sink that rewinds gives back all it has taken but not played.
struct ModelServer {
    std::string name;
    std::int64_t readAhead = 0;
    std::int64_t reported = 0;
    std::int64_t takesNext = 0;
    bool rewinds = false;

    ServerToneQueue::Report ReportAt(std::int64_t heard) const {
        StreamTiming timing;
        timing.readIndex = heard + readAhead;
        timing.sinkLatency = timing.configuredSinkLatency = reported;
        return {timing, At(heard)};
    }
    // When the program, going by the reports, sees `frame` heard.
    std::int64_t SeenHeard(std::int64_t frame) const { return frame - (readAhead - reported); }
    // The first frame a write reaching the server at `heard` can still change.
    std::int64_t FirstChangeable(std::int64_t heard) const {
        return rewinds ? heard : heard + readAhead + takesNext;
    }
    QueueChoice Choice() const {
        return ChooseQueue(name, [this](const QueueShape&) {
            return rewinds ? RewindProbeVerdict::kRewinds : RewindProbeVerdict::kKeeps;
        });
    }
};

const ModelServer kPlain{"pulseaudio", 512, 512, 0, false};
const ModelServer kRewinding{"pulseaudio", Ms(250), Ms(250), 0, true};
const ModelServer kPipeWire{"PulseAudio (on PipeWire 0.3.65)", 1024, 0, 1024, false};

// Renders as the server asks, in requests, until the queue is full past what is heard.
void FillTo(ServerToneQueue& queue, std::int64_t heard) {
    const QueueShape& shape = queue.Choice().shape;
    std::vector<float> buffer(static_cast<std::size_t>(shape.RequestFrames()));
    while (static_cast<std::int64_t>(queue.WriteIndex()) < heard + shape.queueFrames) {
        queue.Render(buffer.data(), buffer.size(), heard);
    }
}

// Where a tone asked for at `heard` begins: queued ahead, or placed by a fresh report.
std::optional<std::uint64_t> Ask(ServerToneQueue& queue, const ModelServer& server,
                                 std::uint32_t ms, std::int64_t heard) {
    if (const auto start = queue.QueueAhead(16000, ms)) return start;
    return queue.Place(16000, ms, queue.Generation(), server.ReportAt(heard), At(heard)).start;
}

// A sweep of 500 ms tones from frame 0, each asked for when the one before is handed back, and
// rendered ahead as the server asks, up to `heard`.
ServerToneQueue Playing(const ModelServer& server, std::int64_t heard) {
    ServerToneQueue queue(kRate, server.Choice());
    std::uint64_t start = *Ask(queue, server, 500, 0);
    for (std::int64_t at = 0; at <= heard; at += Ms(10)) {
        FillTo(queue, at);
        if (static_cast<std::int64_t>(queue.HandBackFrame(start, 500)) <= at) {
            start = *Ask(queue, server, 500, at);
        }
    }
    return queue;
}

// A stop asked for at 1 s, by a report `reportAge` old, its rewrite reaching the server `way`
// later: it must land where the server can still change the sound (or it clicks), and be heard
// within the stop's promise.
TEST(ServerToneQueue, AStopLandsWhereTheServerCanStillChangeTheSoundAndSoon) {
    struct Case {
        const ModelServer& server;
        double reportAgeMs;
        double wayMs;
        bool lands;
        double heardWithinMs;
    };
    const Case cases[] = {
        {kPlain, 0, 6.9, true, 18},         {kPlain, 0, 7.2, false, 18},
        {kPlain, 60, 6.9, true, 18},        {kRewinding, 0, 9.9, true, 10.5},
        {kRewinding, 0, 10.2, false, 10.5}, {kRewinding, 80, 9.9, true, 10.5},
        {kPipeWire, 0, 3.9, true, 47},      {kPipeWire, 0, 4.2, false, 47},
        {kPipeWire, 30, 3.9, true, 47},
    };
    const std::int64_t now = kRate;
    for (const Case& test : cases) {
        const std::string row = test.server.name + ", report " + std::to_string(test.reportAgeMs) +
                                " ms old, way " + std::to_string(test.wayMs) + " ms";
        ServerToneQueue queue = Playing(test.server, now);
        const auto rewrite = queue.Stop(test.server.ReportAt(now - Ms(test.reportAgeMs)), At(now));
        ASSERT_TRUE(rewrite) << row;
        const auto at = static_cast<std::int64_t>(rewrite->at);
        EXPECT_EQ(at >= test.server.FirstChangeable(now + Ms(test.wayMs)), test.lands) << row;
        EXPECT_LE(at - now, Ms(test.heardWithinMs)) << row;
    }
}

// A tone shorter than the queue is handed back early enough that the next, asked for by a player
// that wakes `lateMs` after the hand-back, still joins it in its place; without a report it goes
// at the write index; asked for before a silence, it is dropped. A silence after all was heard
// has nothing to fade.
TEST(ServerToneQueue, TheNextShortToneJoinsInItsPlaceWhenThePlayerWakesLate) {
    struct Case {
        const ModelServer& server;
        std::uint32_t ms;
        double lateMs;
        bool joins;
    };
    const Case cases[] = {
        {kPlain, 10, 0, true},      {kPlain, 10, 12, true},    {kPlain, 10, 30, false},
        {kRewinding, 10, 12, true}, {kRewinding, 1, 12, true}, {kPipeWire, 10, 12, true},
        {kPipeWire, 10, 40, false}, {kPlain, 600, 0, true},
    };
    for (const Case& test : cases) {
        const std::string row = test.server.name + ", " + std::to_string(test.ms) + " ms tones, " +
                                std::to_string(test.lateMs) + " ms late";
        ServerToneQueue queue = Playing(test.server, kRate);
        const std::int64_t heard = kRate + Ms(5);
        const std::uint64_t start = *Ask(queue, test.server, test.ms, heard);
        const std::int64_t woken =
            test.server.SeenHeard(static_cast<std::int64_t>(queue.HandBackFrame(start, test.ms))) +
            Ms(test.lateMs);
        ASSERT_LE(woken, static_cast<std::int64_t>(start) + Ms(test.ms)) << row;
        FillTo(queue, woken);
        EXPECT_EQ(Ask(queue, test.server, test.ms, woken) == start + Ms(test.ms), test.joins)
            << row;
    }

    ServerToneQueue queue = Playing(kPlain, kRate);
    FillTo(queue, kRate + Ms(600));
    EXPECT_EQ(queue.Place(16100, 10, 0, std::nullopt, At(kRate)).start, queue.WriteIndex())
        << "without a report a late tone goes where nothing has been rendered";
    const std::uint64_t asked = queue.Generation();
    queue.Silence();
    const auto dropped = queue.Place(16100, 10, asked, kPlain.ReportAt(kRate), At(kRate));
    EXPECT_FALSE(dropped.start || dropped.rewrite) << "a tone asked for before a silence";

    ServerToneQueue alone(kRate, kPlain.Choice());
    Ask(alone, kPlain, 10, 0);
    FillTo(alone, 0);
    const auto end = static_cast<std::int64_t>(alone.SoundEnd());
    EXPECT_FALSE(alone.SoundedOut(end - 1)) << "a silence fades what is still to be heard";
    EXPECT_TRUE(alone.SoundedOut(end)) << "and has nothing to fade once all was heard";
}

// A tone shorter than the queue is handed back the sink's latency and 20 ms before it begins, and
// never before frame 0; one as long as the queue or longer when it begins.
TEST(ServerToneQueue, AShortToneIsHandedBackTheSinkLatencyAnd20MsEarly) {
    struct Case {
        const ModelServer& server;
        std::uint64_t start;
        std::uint32_t ms;
        std::uint64_t handedBack;
    };
    const Case cases[] = {
        {kPlain, 48000, 449, 48000 - 512 - 960},
        {kPlain, 48000, 450, 48000},
        {kRewinding, 48000, 10, 48000 - 12000 - 960},
        {kPlain, 1472, 10, 0},
        {kPlain, 1473, 10, 1},
        {kPlain, 1000, 10, 0},
    };
    for (const Case& test : cases) {
        const ServerToneQueue queue(kRate, test.server.Choice());
        EXPECT_EQ(queue.HandBackFrame(test.start, test.ms), test.handedBack)
            << test.start << ", " << test.ms << " ms";
    }
}

// Each server gets the shape measured on it, in exact frames at 48 kHz; an unsure probe plays as
// to a sink that keeps, and says so, and PipeWire's Pulse server is never probed.
TEST(ServerToneQueue, EachServerGetsItsMeasuredShapeAndAnUnsureProbePlaysAsToASinkThatKeeps) {
    struct Case {
        const char* server;
        RewindProbeVerdict verdict;
        std::int64_t sinkLatency;
        std::int64_t request;  // what the server asks for at a time: half of what the sink leaves
        double marginMs;
        bool rewinds;
        bool unsure;
    };
    const Case cases[] = {
        {"pulseaudio", RewindProbeVerdict::kRewinds, Ms(250), Ms(100), 10, true, false},
        {"pulseaudio", RewindProbeVerdict::kKeeps, 512, 10544, 7, false, false},
        {"pulseaudio", RewindProbeVerdict::kUnsure, 512, 10544, 7, false, true},
        {"PulseAudio (on PipeWire 1.4.2)", RewindProbeVerdict::kUnsure, 1024, 10288, 4, false,
         false},
    };
    for (const Case& test : cases) {
        const auto verdict = [&](const QueueShape&) { return test.verdict; };
        const QueueChoice choice = ChooseQueue(test.server, verdict);
        const std::string row = std::string(test.server) + " " + std::to_string(test.sinkLatency);
        EXPECT_EQ(choice.shape.queueFrames, Ms(450)) << row;
        EXPECT_EQ(choice.shape.sinkLatencyFrames, test.sinkLatency) << row;
        EXPECT_EQ(choice.latency.requested, test.sinkLatency) << row;
        EXPECT_EQ(choice.shape.RequestFrames(), test.request) << row;
        EXPECT_EQ(choice.shape.rewriteMarginFrames, Ms(test.marginMs)) << row;
        EXPECT_EQ(choice.latency.sinkRewinds, test.rewinds) << row;
        EXPECT_EQ(choice.unsure, test.unsure) << row;
    }
    EXPECT_EQ(RewindingSinkShape().sinkLatencyFrames, Ms(250));
}

}  // namespace
