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
