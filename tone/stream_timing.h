#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

// Where a sound server's stream stands, in frames of the stream, as the server reported it.
struct StreamTiming {
    std::int64_t readIndex = 0;    // frames the server has taken from our queue
    std::int64_t sinkLatency = 0;  // of those, frames still on their way to the speaker
    // The sink's configured latency: how far past the speaker it takes frames from the queue.
    std::int64_t configuredSinkLatency = 0;
    std::int64_t age = 0;  // frames of time that have passed since the report
};

// How far past the read index a server may already have taken frames, for servers that report no
// sink latency (PipeWire's Pulse server reports 0 for both): the latency we asked for, and at least
// one cycle of its processing graph. A sink that rewinds gives back what it has taken and not yet
// played when a write lands before its read index.
struct LatencyRequest {
    std::int64_t requested = 0;
    std::int64_t graphCycle = 256;
    bool sinkRewinds = false;
};

// The frame being heard now: the read index less what the sink still holds, plus the time since
// the report.
std::int64_t HeardFrame(const StreamTiming& timing);

// The first frame of the queue that the server will surely not have taken by the time a write sent
// now arrives: past what the sink holds and may take next, plus `margin` for the write's way there.
// On a sink that rewinds, what it holds is given back: `margin` past what is heard.
std::int64_t SafePoint(const StreamTiming& timing, const LatencyRequest& request,
                       std::int64_t margin);

// Whether a sink rewinds shows when a frame is written before its read index and after what is
// heard, and nothing after it: a sink that rewinds comes back to that frame and then runs dry, so
// its read index stops at the frame's end; one that does not keeps its read index past it. The
// frame where such a probe goes, `margin` past what is heard; none while the sink holds too little
// of the stream for one.
std::optional<std::int64_t> RewindProbeFrame(const StreamTiming& timing, std::int64_t margin);

// The heard frame between reports, assuming the stream plays at its rate: the last report's
// frame moved on by the time since, never past `limit` (the write index: nothing beyond it can
// play).
class HeardClock {
public:
    using Clock = std::chrono::steady_clock;

    explicit HeardClock(unsigned rate) : m_rate(rate) {}

    void Report(std::int64_t heard, Clock::time_point at) { m_last = Last{heard, at}; }
    std::optional<std::int64_t> Estimate(Clock::time_point now, std::int64_t limit) const;
    // Time until `frame` is heard according to the estimate; zero when it has been, or when there
    // is no report to go by.
    Clock::duration Until(std::int64_t frame, Clock::time_point now, std::int64_t limit) const;

private:
    struct Last {
        std::int64_t heard;
        Clock::time_point at;
    };
    unsigned m_rate;
    std::optional<Last> m_last;
};
