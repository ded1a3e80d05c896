#include "tone/stream_timing.h"

#include <algorithm>

std::int64_t HeardFrame(const StreamTiming& timing) {
    return std::max<std::int64_t>(0, timing.readIndex - timing.sinkLatency + timing.age);
}

std::int64_t SafePoint(const StreamTiming& timing, const LatencyRequest& request,
                       std::int64_t margin) {
    if (request.sinkRewinds) return HeardFrame(timing) + margin;
    if (timing.sinkLatency == 0 && timing.configuredSinkLatency == 0) {
        // Nothing reported: the server takes frames a graph cycle (or the latency we asked for)
        // ahead of the read index.
        return timing.readIndex + timing.age + std::max(request.requested, request.graphCycle) +
               margin;
    }
    // The sink holds up to its configured latency past what is heard now.
    return HeardFrame(timing) + timing.configuredSinkLatency + margin;
}

std::optional<std::int64_t> RewindProbeFrame(const StreamTiming& timing, std::int64_t margin) {
    const std::int64_t frame = HeardFrame(timing) + margin;
    if (frame + 1 >= timing.readIndex) return std::nullopt;
    return frame;
}

std::optional<std::int64_t> HeardClock::Estimate(Clock::time_point now, std::int64_t limit) const {
    if (!m_last) return std::nullopt;
    const auto elapsed = std::chrono::duration<double>(now - m_last->at).count();
    const auto moved = static_cast<std::int64_t>(std::max(0.0, elapsed) * m_rate);
    return std::min(std::max(m_last->heard, m_last->heard + moved), std::max(limit, m_last->heard));
}

HeardClock::Clock::duration HeardClock::Until(std::int64_t frame, Clock::time_point now,
                                              std::int64_t limit) const {
    const std::optional<std::int64_t> heard = Estimate(now, limit);
    if (!heard || *heard >= frame) return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(frame - *heard) / m_rate));
}
