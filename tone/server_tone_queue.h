#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "tone/queue_shape.h"
#include "tone/stream_timing.h"
#include "tone/tone_stream.h"

// Where a stream queued at a sound server is written: its tones rendered well ahead, and a stop or
// a start that rewrites the queued sound at the safe point just past what the server has taken,
// by the latest report of where the stream stands. What is decided here is pure; the adapter for
// the server moves the samples and the reports. Not thread-safe: the owner locks.
class ServerToneQueue {
public:
    using Clock = std::chrono::steady_clock;
    // Where the stream stood (with age 0) at `at`, by the server's report.
    struct Report {
        StreamTiming stream;
        Clock::time_point at;
    };
    // Where a tone went: the rewrite to send, if any, and the frame it begins at. No start when a
    // silence came between asking for the report and its answer: the tone is dropped.
    struct Placement {
        std::optional<ToneStream::Rewrite> rewrite;
        std::optional<std::uint64_t> start;
    };

    ServerToneQueue(unsigned rate, const QueueChoice& choice);

    // Renders the next frames the server asks for, and forgets what no rewrite can reach.
    void Render(float* out, std::size_t frames, std::optional<std::int64_t> heard);

    // Queues a tone whose place lies ahead of the write index, and returns where it begins; none
    // when its place was rendered (or nothing sounds): Place it with a fresh report.
    std::optional<std::uint64_t> QueueAhead(std::uint32_t hz, std::uint32_t ms);
    // Places a tone asked for at `generation` by `report` (none: the server gave no answer), made
    // at `now`.
    Placement Place(std::uint32_t hz, std::uint32_t ms, std::uint64_t generation,
                    const std::optional<Report>& report, Clock::time_point now);
    // The rewrite that fades out what is queued at the safe point, by `report` at `now`.
    std::optional<ToneStream::Rewrite> Stop(const std::optional<Report>& report,
                                            Clock::time_point now);
    // Counts a silence: tones asked for before it are dropped. Returns the new generation.
    std::uint64_t Silence() { return ++m_generation; }
    std::uint64_t Generation() const { return m_generation; }

    // The first frame a rewrite sent at `now` may change, by `report`; the write index without
    // one.
    std::uint64_t SafeNow(const std::optional<Report>& report, Clock::time_point now) const;
    // When a tone beginning at `start` is handed back to its player: a tone shorter than the queue
    // early enough that the next one, which follows it in the stream, can still be written in its
    // place past what the sink may have taken, even when the player wakes late; a longer one when
    // it sounds.
    std::uint64_t HandBackFrame(std::uint64_t start, std::uint32_t ms) const;
    // Whether everything rendered has been heard by `heard`, and nothing more is to come: a
    // silence then has nothing to fade.
    bool SoundedOut(std::optional<std::int64_t> heard) const;

    std::uint64_t WriteIndex() const { return m_tones.WriteIndex(); }
    std::uint64_t SoundEnd() const { return m_tones.SoundEnd(); }
    const QueueChoice& Choice() const { return m_choice; }

private:
    unsigned m_rate;
    QueueChoice m_choice;
    ToneStream m_tones;
    std::uint64_t m_generation = 0;
};
