#include "tone/linux/pulse_rewind_probe.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

#include "tone/linux/pulse_stream_io.h"
#include "tone/stream_timing.h"
#include "tone/tone_synth.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kRate = ToneSynth::kDefaultSampleRate;
constexpr std::size_t kFrameBytes = kPulseFrameBytes;
// How far past what is heard the probe goes: room for the write's way to the server. Measured
// from the report that placed it to the server's next one: 4 ms in one probe of two on a quiet
// machine, up to 12 ms in 100 probes with both cores busy.
constexpr std::int64_t kMarginFrames = 40 * kRate / 1000;
constexpr int kTries = 3;
// A null sink that rendered far ahead while idle takes a new stream only when that has played.
constexpr auto kPatience = std::chrono::milliseconds(2500);

struct Report {
    StreamTiming timing;
    std::int64_t writeIndex = 0;
    bool playing = false;
    pa_usec_t madeAt = 0;  // by the clock the timing reports share
};

void Signal(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }

// One probe's stream, let go with its callbacks.
class ProbeStream {
public:
    ProbeStream(pa_threaded_mainloop* loop, pa_context* context) {
        const pa_sample_spec format{PA_SAMPLE_FLOAT32LE, kRate, 1};
        // Named apart from the stream that plays, for a sound panel and anyone reading the server.
        m_stream = pa_stream_new(context, "Drovane sink check", &format, nullptr);
        if (!m_stream) return;
        pa_stream_set_state_callback(
            m_stream,
            [](pa_stream*, void* data) { Signal(static_cast<pa_threaded_mainloop*>(data)); }, loop);
    }
    ~ProbeStream() {
        if (!m_stream) return;
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
    }
    ProbeStream(const ProbeStream&) = delete;
    ProbeStream& operator=(const ProbeStream&) = delete;

    pa_stream* get() const { return m_stream; }

private:
    pa_stream* m_stream = nullptr;
};

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
    AwaitOperation(loop, op, answer.done,
                   [stream] { return PA_STREAM_IS_GOOD(pa_stream_get_state(stream)); });
    const pa_timing_info* info = answer.done ? pa_stream_get_timing_info(stream) : nullptr;
    if (!info) return std::nullopt;
    Report report;
    report.timing = PulseStreamTiming(*info);
    report.timing.age = PulseFrames(pa_timeval_age(&info->timestamp));
    report.writeIndex = info->write_index / static_cast<std::int64_t>(kFrameBytes);
    report.playing = info->playing != 0;
    report.madeAt = pa_timeval_load(&info->timestamp);
    return report;
}

// How far ahead of the speaker the stream's sink takes frames: the least latency any of its
// streams or its monitor's readers ask for, which may be less than ours.
std::optional<std::int64_t> AskSinkLatency(pa_threaded_mainloop* loop, pa_context* context,
                                           pa_stream* stream) {
    struct Answer {
        pa_threaded_mainloop* loop;
        std::optional<std::int64_t> latency;
        bool done = false;
    } answer{loop, std::nullopt};
    pa_operation* op = pa_context_get_sink_info_by_index(
        context, pa_stream_get_device_index(stream),
        [](pa_context*, const pa_sink_info* info, int last, void* data) {
            auto* a = static_cast<Answer*>(data);
            if (info) a->latency = PulseFrames(info->configured_latency);
            a->done = last != 0 || !info;
            Signal(a->loop);
        },
        &answer);
    AwaitOperation(loop, op, answer.done, [] { return true; });
    return answer.latency;
}

void FeedSilence(pa_stream* stream, std::size_t bytes, void*) {
    WriteRequested(stream, bytes,
                   [](float* frames, std::size_t count) { std::fill_n(frames, count, 0.0f); });
}

RewindProbeVerdict Probe(pa_threaded_mainloop* loop, pa_context* context, pa_stream* stream,
                         const QueueShape& shape, Clock::time_point deadline) {
    // Kept fed with silence until the probe.
    pa_stream_set_write_callback(stream, &FeedSilence, nullptr);
    if (!ConnectPlayback(loop, stream, shape)) return RewindProbeVerdict::kUnsure;
    std::optional<std::int64_t> sinkLatency;  // asked once the sink plays the stream
    while (Clock::now() < deadline) {
        std::optional<Report> before = AskTiming(loop, stream);
        if (!before) return RewindProbeVerdict::kUnsure;
        const bool taking = before->playing && before->timing.readIndex < before->writeIndex;
        if (taking && !sinkLatency) {
            sinkLatency = AskSinkLatency(loop, context, stream);
            if (!sinkLatency) return RewindProbeVerdict::kUnsure;
        }
        if (sinkLatency) before->timing.configuredSinkLatency = *sinkLatency;
        if (taking && !SinkHoldsRewindProbe(before->timing, kMarginFrames)) {
            return RewindProbeVerdict::kKeeps;
        }
        const std::optional<std::int64_t> frame = RewindProbeFrame(before->timing, kMarginFrames);
        if (taking && frame) {
            pa_stream_set_write_callback(stream, nullptr, nullptr);
            const float silence = 0.0f;
            if (pa_stream_write(stream, &silence, kFrameBytes, nullptr,
                                *frame * static_cast<std::int64_t>(kFrameBytes),
                                PA_SEEK_ABSOLUTE) < 0) {
                return RewindProbeVerdict::kUnsure;
            }
            // The first answer is made once the server has taken the write, the second surely
            // after any rewind.
            const std::optional<Report> arrived = AskTiming(loop, stream);
            const std::optional<Report> after = AskTiming(loop, stream);
            if (!arrived || !after) return RewindProbeVerdict::kUnsure;
            const pa_usec_t took = arrived->madeAt - std::min(arrived->madeAt, before->madeAt);
            return ReadRewindProbe({before->timing, PulseFrames(took), after->timing.readIndex},
                                   kMarginFrames);
        }
        // The sink has not taken enough of the stream yet: ask again shortly.
        pa_threaded_mainloop_unlock(loop);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        pa_threaded_mainloop_lock(loop);
    }
    return RewindProbeVerdict::kUnsure;
}

}  // namespace

RewindProbeVerdict ProbeRewinds(pa_threaded_mainloop* loop, pa_context* context,
                                const QueueShape& shape) {
    const auto deadline = Clock::now() + kPatience;
    // A stream is let go only once the next has been probed: a null sink left with no stream
    // renders far ahead at once, and the next would wait for that to play (1.7 s against 12 ms).
    std::unique_ptr<ProbeStream> previous;
    for (int i = 0; i < kTries && Clock::now() < deadline; ++i) {
        auto stream = std::make_unique<ProbeStream>(loop, context);
        if (!stream->get()) return RewindProbeVerdict::kUnsure;
        const RewindProbeVerdict verdict = Probe(loop, context, stream->get(), shape, deadline);
        if (verdict != RewindProbeVerdict::kUnsure) return verdict;
        previous = std::move(stream);
    }
    return RewindProbeVerdict::kUnsure;
}
