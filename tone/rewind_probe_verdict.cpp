#include "tone/rewind_probe_verdict.h"

bool SinkHoldsRewindProbe(const StreamTiming& timing, std::int64_t margin) {
    // The probe frame and the one after it must be behind the read index.
    return timing.configuredSinkLatency > margin + 1;
}

RewindProbeVerdict ReadRewindProbe(const RewindProbeAnswers& answers, std::int64_t margin) {
    const std::int64_t frame = HeardFrame(answers.placedBy) + margin;
    if (answers.readIndexAfter <= frame + 1) return RewindProbeVerdict::kRewinds;
    StreamTiming arrival = answers.placedBy;
    arrival.age = answers.arrivedAfter;
    const bool inTime = HeardFrame(arrival) <= frame - margin / 2;
    return inTime ? RewindProbeVerdict::kKeeps : RewindProbeVerdict::kUnsure;
}
