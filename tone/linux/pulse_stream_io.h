#pragma once

#include <pulse/pulseaudio.h>

#include <cstddef>
#include <cstdint>
#include <functional>

#include "tone/stream_timing.h"

// The program's Pulse streams are float32 mono at the synthesiser's rate.
inline constexpr std::size_t kPulseFrameBytes = sizeof(float);

// What a stream asks of the server: how much it keeps queued, and how far ahead of the speaker its
// sink takes frames from that queue (without PA_STREAM_ADJUST_LATENCY the server asks its sink for
// the queue less two requests, so the request follows from these two). And how far past the first
// frame the server may still take a rewrite is written, for the time it takes to get there.
struct PulseQueueShape {
    std::int64_t queueFrames = 0;
    std::int64_t sinkLatencyFrames = 0;
    std::int64_t rewriteMarginFrames = 0;
    std::int64_t RequestFrames() const { return (queueFrames - sinkLatencyFrames) / 2; }
};

// Connects `stream` for playback with the queue `shape` asks for and waits until it is ready; false
// when it fails. With the loop locked, and a state callback on the stream that signals the loop.
bool ConnectPlayback(pa_threaded_mainloop* loop, pa_stream* stream, const PulseQueueShape& shape);

std::int64_t PulseFrames(pa_usec_t usec);

// Where a server's timing report says the stream stood when it was made (age 0).
StreamTiming PulseStreamTiming(const pa_timing_info& info);

// Writes the `bytes` the server asked for, whole frames, each piece rendered by `render` into the
// server's own buffer.
void WriteRequested(pa_stream* stream, std::size_t bytes,
                    const std::function<void(float* frames, std::size_t count)>& render);
