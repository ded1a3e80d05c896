#pragma once

#include <cstdint>

#include "tone/stream_timing.h"

// What a probe of a sink (RewindProbeFrame) shows once the server has handled its write.
enum class RewindProbeVerdict {
    kRewinds,  // the read index came back to the probe frame
    kKeeps,    // it stayed past the frame, which the write reached in time for any sink to rewind
    kUnsure,   // it stayed past the frame, but the write may have come after the frame was heard
};

// A sink takes frames at most its configured latency ahead of what is heard, so one configured
// to `margin` or less never holds a probe frame (RewindProbeFrame). Such a sink gains nothing from
// a long latency either: it is played to as one that keeps what it has taken.
bool SinkHoldsRewindProbe(const StreamTiming& timing, std::int64_t margin);

// What the server said about a probe.
struct RewindProbeAnswers {
    // The report the probe frame was placed by, aged to the moment it was placed.
    StreamTiming placedBy;
    // Frames from that report to the first one the server made after it took the write: by then
    // the write had arrived.
    std::int64_t arrivedAfter = 0;
    // The read index once the server has handled the write and any rewind.
    std::int64_t readIndexAfter = 0;
};

// A read index at or before the end of the probe frame shows a rewind: no sink that keeps what it
// has taken moves its read index back. One past it shows a sink that keeps, when the write
// arrived with at least half of `margin` to spare before its frame was heard: room for a sink to
// turn to the rewind, and for a sound card that cannot rewind the last ms before what it plays.
RewindProbeVerdict ReadRewindProbe(const RewindProbeAnswers& answers, std::int64_t margin);
