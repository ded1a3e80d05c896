#include "tone/linux/pulse_stream_io.h"

#include <algorithm>

#include "tone/tone_synth.h"

std::int64_t PulseFrames(pa_usec_t usec) {
    return static_cast<std::int64_t>(usec * ToneSynth::kDefaultSampleRate / 1000000);
}

StreamTiming PulseStreamTiming(const pa_timing_info& info) {
    StreamTiming timing;
    timing.readIndex = info.read_index / static_cast<std::int64_t>(kPulseFrameBytes);
    timing.sinkLatency = PulseFrames(info.sink_usec);
    timing.configuredSinkLatency = PulseFrames(info.configured_sink_usec);
    return timing;
}

void WriteRequested(pa_stream* stream, std::size_t bytes,
                    const std::function<void(float* frames, std::size_t count)>& render) {
    while (bytes >= kPulseFrameBytes) {
        void* buffer = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream, &buffer, &size) < 0 || !buffer) return;
        size = std::min(size, bytes) / kPulseFrameBytes * kPulseFrameBytes;
        render(static_cast<float*>(buffer), size / kPulseFrameBytes);
        if (pa_stream_write(stream, buffer, size, nullptr, 0, PA_SEEK_RELATIVE) < 0) return;
        bytes -= size;
    }
}

void AwaitOperation(pa_threaded_mainloop* loop, pa_operation* op, const bool& done,
                    const std::function<bool()>& good) {
    if (!op) return;
    while (!done && pa_operation_get_state(op) == PA_OPERATION_RUNNING && good()) {
        pa_threaded_mainloop_wait(loop);
    }
    pa_operation_unref(op);
}

bool ConnectPlayback(pa_threaded_mainloop* loop, pa_stream* stream, const QueueShape& shape) {
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(shape.queueFrames * kPulseFrameBytes);
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(shape.RequestFrames() * kPulseFrameBytes);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    if (pa_stream_connect_playback(stream, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr, nullptr) <
        0) {
        return false;
    }
    for (;;) {
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if (state == PA_STREAM_READY) return true;
        if (!PA_STREAM_IS_GOOD(state)) return false;
        pa_threaded_mainloop_wait(loop);
    }
}
