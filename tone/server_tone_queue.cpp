#include "tone/server_tone_queue.h"

#include <algorithm>

namespace {

// A tone shorter than the queue is handed back this long before the sink may take its end: the
// time a player woken late on a busy machine has to queue the next one in its place.
constexpr std::int64_t kHandBackSlackMs = 20;

}  // namespace

ServerToneQueue::ServerToneQueue(unsigned rate, const QueueChoice& choice)
    : m_rate(rate), m_choice(choice), m_tones(rate) {}

void ServerToneQueue::Render(float* out, std::size_t frames, std::optional<std::int64_t> heard) {
    m_tones.Render(out, frames);
    if (heard) m_tones.Forget(static_cast<std::uint64_t>(*heard));
}

std::optional<std::uint64_t> ServerToneQueue::QueueAhead(std::uint32_t hz, std::uint32_t ms) {
    if (m_tones.QueueNeedsRewrite()) return std::nullopt;
    m_tones.Queue(hz, ms, m_tones.WriteIndex());
    return m_tones.LastQueuedStart();
}

ServerToneQueue::Placement ServerToneQueue::Place(std::uint32_t hz, std::uint32_t ms,
                                                  std::uint64_t generation,
                                                  const std::optional<Report>& report,
                                                  Clock::time_point now) {
    if (generation != m_generation) return {};
    Placement placement;
    placement.rewrite = m_tones.Queue(hz, ms, SafeNow(report, now));
    placement.start = m_tones.LastQueuedStart();
    return placement;
}

std::optional<ToneStream::Rewrite> ServerToneQueue::Stop(const std::optional<Report>& report,
                                                         Clock::time_point now) {
    return m_tones.Stop(SafeNow(report, now));
}

std::uint64_t ServerToneQueue::SafeNow(const std::optional<Report>& report,
                                       Clock::time_point now) const {
    if (!report) return m_tones.WriteIndex();
    StreamTiming timing = report->stream;
    const auto age = std::chrono::duration<double>(now - report->at).count();
    timing.age = static_cast<std::int64_t>(std::max(0.0, age) * m_rate);
    return static_cast<std::uint64_t>(std::max<std::int64_t>(
        0, SafePoint(timing, m_choice.latency, m_choice.shape.rewriteMarginFrames)));
}

std::uint64_t ServerToneQueue::HandBackFrame(std::uint64_t start, std::uint32_t ms) const {
    const QueueShape& shape = m_choice.shape;
    if (static_cast<std::int64_t>(ms) * m_rate / 1000 >= shape.queueFrames) return start;
    const auto early =
        static_cast<std::uint64_t>(shape.sinkLatencyFrames + kHandBackSlackMs * m_rate / 1000);
    return start > early ? start - early : 0;
}

bool ServerToneQueue::SoundedOut(std::optional<std::int64_t> heard) const {
    const auto end = static_cast<std::int64_t>(m_tones.SoundEnd());
    return m_tones.Idle() && (end == 0 || (heard && *heard >= end));
}
