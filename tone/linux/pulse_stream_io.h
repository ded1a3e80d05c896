#pragma once

#include <pulse/pulseaudio.h>

#include <cstddef>
#include <cstdint>
#include <functional>

#include "tone/queue_shape.h"
#include "tone/stream_timing.h"

// The program's Pulse streams are float32 mono at the synthesiser's rate.
inline constexpr std::size_t kPulseFrameBytes = sizeof(float);

// Connects `stream` for playback with the queue `shape` asks for and waits until it is ready; false
// when it fails. With the loop locked, and a state callback on the stream that signals the loop.
bool ConnectPlayback(pa_threaded_mainloop* loop, pa_stream* stream, const QueueShape& shape);

// Waits, with the loop locked, until the operation's callback sets `done` and signals the loop,
// the operation ends without it (the server cancels it when the connection fails) or `good()`
// turns false; then lets the operation go. `op` may be null, for a request that was never sent.
void AwaitOperation(pa_threaded_mainloop* loop, pa_operation* op, const bool& done,
                    const std::function<bool()>& good);

std::int64_t PulseFrames(pa_usec_t usec);

// Where a server's timing report says the stream stood when it was made (age 0).
StreamTiming PulseStreamTiming(const pa_timing_info& info);

// Writes the `bytes` the server asked for, whole frames, each piece rendered by `render` into the
// server's own buffer.
void WriteRequested(pa_stream* stream, std::size_t bytes,
                    const std::function<void(float* frames, std::size_t count)>& render);
