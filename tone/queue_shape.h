#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "tone/rewind_probe_verdict.h"
#include "tone/stream_timing.h"

// What a stream asks of a sound server: how much it keeps queued, and how far ahead of the speaker
// its sink takes frames from that queue (the server asks its sink for the queue less two requests,
// so the request follows from these two). And how far past the first frame the server may still
// take a rewrite is written, for the time it takes to get there. In frames of the stream.
struct QueueShape {
    std::int64_t queueFrames = 0;
    std::int64_t sinkLatencyFrames = 0;
    std::int64_t rewriteMarginFrames = 0;
    std::int64_t RequestFrames() const { return (queueFrames - sinkLatencyFrames) / 2; }
};

// How a stream is queued on a server, and whether that was chosen without knowing the sink.
struct QueueChoice {
    QueueShape shape;
    LatencyRequest latency;
    bool unsure = false;  // the probe could not tell; the shape suits any sink
};

// The shape for a sink that rewinds, which a probe of the sink plays with.
QueueShape RewindingSinkShape();

// The shape for the server named `serverName`: PipeWire's Pulse server has its own; for any other,
// `probe` (given the shape for a sink that rewinds) tells whether its sink rewinds.
QueueChoice ChooseQueue(std::string_view serverName,
                        const std::function<RewindProbeVerdict(const QueueShape&)>& probe);
