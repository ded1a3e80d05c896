#include "tone/linux/pulse_rewind_probe.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>

#include "tone/linux/pulse_stream_io.h"
#include "tone/stream_timing.h"
#include "tone/tone_synth.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kRate = ToneSynth::kDefaultSampleRate;
constexpr std::size_t kFrameBytes = kPulseFrameBytes;
// How far past what is heard the probe goes. A write that lands after the sink has played its
// place, or while the stream has run dry, looks like a sink that does not rewind: the answer that
// is safe to get wrong. Only that answer is tried again, on a new stream.
constexpr std::int64_t kMarginFrames = 3 * kRate / 1000;
constexpr int kTries = 3;
// A null sink that rendered far ahead while idle takes a new stream only when that has played.
constexpr auto kPatience = std::chrono::milliseconds(2500);

enum class Verdict { kRewinds, kKeeps, kUnknown };

struct Report {
    StreamTiming timing;
    std::int64_t writeIndex = 0;
    bool playing = false;
};

void Signal(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }

// Where the stream stands now, or nothing when the server does not say.
std::optional<Report> AskTiming(pa_threaded_mainloop* loop, pa_stream* stream) {
    struct Answer {
        pa_threaded_mainloop* loop;
        bool done = false;
    } answer{loop};
    pa_operation* op = pa_stream_update_timing_info(
        stream,
        [](pa_stream*, int, void* data) {
            auto* a = static_cast<Answer*>(data);
            a->done = true;
            Signal(a->loop);
        },
        &answer);
    if (!op) return std::nullopt;
    while (!answer.done && pa_operation_get_state(op) == PA_OPERATION_RUNNING &&
           PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) {
        pa_threaded_mainloop_wait(loop);
    }
    pa_operation_unref(op);
    const pa_timing_info* info = answer.done ? pa_stream_get_timing_info(stream) : nullptr;
    if (!info) return std::nullopt;
    Report report;
    report.timing = PulseStreamTiming(*info);
    report.timing.age = PulseFrames(pa_timeval_age(&info->timestamp));
    report.writeIndex = info->write_index / static_cast<std::int64_t>(kFrameBytes);
    report.playing = info->playing != 0;
    return report;
}

void FeedSilence(pa_stream* stream, std::size_t bytes, void*) {
    WriteRequested(stream, bytes,
                   [](float* frames, std::size_t count) { std::fill_n(frames, count, 0.0f); });
}

Verdict Probe(pa_threaded_mainloop* loop, pa_stream* stream, const PulseQueueShape& shape,
              Clock::time_point deadline) {
    // Kept fed with silence until the probe.
    pa_stream_set_write_callback(stream, &FeedSilence, nullptr);
    if (!ConnectPlayback(loop, stream, shape)) return Verdict::kUnknown;
    while (Clock::now() < deadline) {
        const std::optional<Report> before = AskTiming(loop, stream);
        if (!before) return Verdict::kUnknown;
        const std::optional<std::int64_t> frame = RewindProbeFrame(before->timing, kMarginFrames);
        if (frame && before->playing && before->timing.readIndex < before->writeIndex) {
            pa_stream_set_write_callback(stream, nullptr, nullptr);
            const float silence = 0.0f;
            if (pa_stream_write(stream, &silence, kFrameBytes, nullptr,
                                *frame * static_cast<std::int64_t>(kFrameBytes),
                                PA_SEEK_ABSOLUTE) < 0) {
                return Verdict::kUnknown;
            }
            // The second answer surely comes after the server handled the write and any rewind.
            static_cast<void>(AskTiming(loop, stream));
            const std::optional<Report> after = AskTiming(loop, stream);
            if (!after) return Verdict::kUnknown;
            return after->timing.readIndex <= *frame + 1 ? Verdict::kRewinds : Verdict::kKeeps;
        }
        // The sink has not taken enough of the stream yet: ask again shortly.
        pa_threaded_mainloop_unlock(loop);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        pa_threaded_mainloop_lock(loop);
    }
    return Verdict::kUnknown;
}

}  // namespace

bool SinkRewinds(pa_threaded_mainloop* loop, pa_context* context, const PulseQueueShape& shape) {
    const auto deadline = Clock::now() + kPatience;
    for (int i = 0; i < kTries; ++i) {
        const pa_sample_spec format{PA_SAMPLE_FLOAT32LE, kRate, 1};
        // Named apart from the stream that plays, for a sound panel and anyone reading the server.
        pa_stream* stream = pa_stream_new(context, "Drovane sink check", &format, nullptr);
        if (!stream) return false;
        pa_stream_set_state_callback(
            stream,
            [](pa_stream*, void* data) { Signal(static_cast<pa_threaded_mainloop*>(data)); }, loop);
        const Verdict verdict = Probe(loop, stream, shape, deadline);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        if (verdict != Verdict::kKeeps) return verdict == Verdict::kRewinds;
    }
    return false;
}
