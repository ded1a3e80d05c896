#include "tone/linux/pulse_output.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include "base/program_name.h"
#include "tone/linux/pulse_rewind_probe.h"
#include "tone/linux/pulse_stream_io.h"

namespace {

constexpr unsigned kRate = ToneSynth::kDefaultSampleRate;
constexpr std::size_t kFrameBytes = kPulseFrameBytes;
constexpr auto kTimingPatience = std::chrono::seconds(1);
constexpr auto kFadeOutPatience = std::chrono::milliseconds(100);

class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : m_loop(loop) {
        pa_threaded_mainloop_lock(m_loop);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* m_loop;
};

}  // namespace

PulseOutput::PulseOutput() : m_heard(kRate) {}

std::unique_ptr<PulseOutput> PulseOutput::Open(std::string& why) {
    std::unique_ptr<PulseOutput> output(new PulseOutput());
    if (!output->Connect(why)) return nullptr;
    return output;
}

bool PulseOutput::Connect(std::string& why) {
    // Each step needs the ones before it; the first to fail gives the reason.
    using Step = std::optional<std::string> (PulseOutput::*)();
    for (const Step step :
         {&PulseOutput::StartLoop, &PulseOutput::AwaitContext, &PulseOutput::ReadServerName,
          &PulseOutput::ChooseShape, &PulseOutput::OpenStream}) {
        if (const std::optional<std::string> failure = (this->*step)()) {
            why = "PulseAudio: " + *failure;
            return false;
        }
    }
    return true;
}

std::string PulseOutput::ServerError() const { return pa_strerror(pa_context_errno(m_context)); }

std::optional<std::string> PulseOutput::StartLoop() {
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop) return "no main loop";
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Drovane");
    if (!m_context) return "no context";
    // Asked before the loop's thread runs, so without its lock.
    pa_context_set_state_callback(m_context, &PulseOutput::OnContextState, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        return ServerError();
    }
    if (pa_threaded_mainloop_start(m_loop) < 0) return "cannot start its thread";
    return std::nullopt;
}

std::optional<std::string> PulseOutput::AwaitContext() {
    LoopLock lock(m_loop);
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (state == PA_CONTEXT_READY) return std::nullopt;
        if (!PA_CONTEXT_IS_GOOD(state)) return ServerError();
        pa_threaded_mainloop_wait(m_loop);
    }
}

std::optional<std::string> PulseOutput::ReadServerName() {
    LoopLock lock(m_loop);
    struct Info {
        PulseOutput* self;
        bool done = false;
    } info{this};
    pa_operation* op = pa_context_get_server_info(
        m_context,
        [](pa_context*, const pa_server_info* i, void* data) {
            auto* in = static_cast<Info*>(data);
            if (i && i->server_name) in->self->m_serverName = i->server_name;
            in->done = true;
            pa_threaded_mainloop_signal(in->self->m_loop, 0);
        },
        &info);
    AwaitOperation(m_loop, op, info.done,
                   [this] { return PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)); });
    // Without an answer the output simply has no name.
    return std::nullopt;
}

std::optional<std::string> PulseOutput::ChooseShape() {
    LoopLock lock(m_loop);
    const QueueChoice choice = ChooseQueue(m_serverName, [this](const QueueShape& rewinding) {
        return ProbeRewinds(m_loop, m_context, rewinding);
    });
    if (choice.unsure) {
        std::fprintf(stderr,
                     "%s: cannot tell whether the sink rewinds (PulseAudio); playing with a short "
                     "latency, as to a sink that does not\n",
                     MessageName());
    }
    m_queue.emplace(kRate, choice);
    return std::nullopt;
}

std::optional<std::string> PulseOutput::OpenStream() {
    LoopLock lock(m_loop);
    const pa_sample_spec format{PA_SAMPLE_FLOAT32LE, kRate, 1};
    m_stream = pa_stream_new(m_context, "Drovane", &format, nullptr);
    if (!m_stream) return ServerError();
    pa_stream_set_state_callback(m_stream, &PulseOutput::OnStreamState, this);
    pa_stream_set_write_callback(m_stream, &PulseOutput::OnWrite, this);
    if (!ConnectPlayback(m_loop, m_stream, m_queue->Choice().shape)) return ServerError();
    return std::nullopt;
}

PulseOutput::~PulseOutput() {
    if (!m_loop) return;
    // A sink that rewinds drops what it has taken of a stream that goes away, the fade of the last
    // stop too, which would then end in a click: it is let play out first.
    if (m_stream && m_queue->Choice().latency.sinkRewinds) Drain(kFadeOutPatience);
    {
        LoopLock lock(m_loop);
        if (m_stream) {
            pa_stream_set_write_callback(m_stream, nullptr, nullptr);
            pa_stream_set_state_callback(m_stream, nullptr, nullptr);
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
        }
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
        }
    }
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
}

void PulseOutput::Fail() {
    {
        std::lock_guard lock(m_mutex);
        m_failed.store(true);
    }
    m_changed.notify_all();
}

void PulseOutput::OnContextState(pa_context* context, void* data) {
    auto* self = static_cast<PulseOutput*>(data);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) self->Fail();
    pa_threaded_mainloop_signal(self->m_loop, 0);
}

void PulseOutput::OnStreamState(pa_stream* stream, void* data) {
    auto* self = static_cast<PulseOutput*>(data);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) self->Fail();
    pa_threaded_mainloop_signal(self->m_loop, 0);
}

void PulseOutput::OnWrite(pa_stream* stream, std::size_t bytes, void* data) {
    auto* self = static_cast<PulseOutput*>(data);
    WriteRequested(stream, bytes, [self](float* frames, std::size_t count) {
        std::optional<std::int64_t> heard;
        {
            std::lock_guard lock(self->m_mutex);
            heard =
                self->m_heard.Estimate(Clock::now(), static_cast<std::int64_t>(self->m_written));
        }
        self->m_queue->Render(frames, count, heard);
    });
    self->m_written.store(self->m_queue->WriteIndex());
}

void PulseOutput::OnTiming(pa_stream* stream, int success, void* data) {
    auto* self = static_cast<PulseOutput*>(data);
    const pa_timing_info* info = success ? pa_stream_get_timing_info(stream) : nullptr;
    std::optional<Timing> timing;
    if (info) {
        // The report was current when the server made it, a little before now.
        const auto age = std::chrono::microseconds(pa_timeval_age(&info->timestamp));
        Timing t;
        t.at = Clock::now() - std::min<Clock::duration>(age, std::chrono::seconds(1));
        t.stream = PulseStreamTiming(*info);
        timing = t;
    }
    // A change waiting for this answer is made here, on the loop's thread, so that its write goes
    // out at once, not after the asking thread is next scheduled, which on a busy machine can be
    // too late for the safe point the change was planned for.
    std::function<void(const std::optional<Timing>&)> change;
    if (!self->m_changes.empty()) {
        change = std::move(self->m_changes.front());
        self->m_changes.pop_front();
    }
    if (change) change(timing);
    {
        std::lock_guard lock(self->m_mutex);
        ++self->m_timingAnswered;
        if (timing) {
            self->m_timing = timing;
            self->m_heard.Report(HeardFrame(timing->stream), timing->at);
        }
    }
    self->m_changed.notify_all();
}

bool PulseOutput::FetchTiming(std::stop_token stop,
                              std::function<void(const std::optional<Timing>&)> change) {
    std::uint64_t asked = 0;
    {
        LoopLock loop(m_loop);
        if (Failed()) return false;
        pa_operation* op = pa_stream_update_timing_info(m_stream, &PulseOutput::OnTiming, this);
        if (!op) return false;
        pa_operation_unref(op);
        m_changes.push_back(std::move(change));
        std::lock_guard lock(m_mutex);
        asked = ++m_timingAsked;
    }
    std::unique_lock lock(m_mutex);
    const bool answered = m_changed.wait_for(
        lock, stop, kTimingPatience, [&] { return m_timingAnswered >= asked || m_failed.load(); });
    return answered && !m_failed.load();
}

void PulseOutput::Send(const ToneStream::Rewrite& rewrite) {
    pa_stream_write(m_stream, rewrite.samples.data(), rewrite.samples.size() * kFrameBytes, nullptr,
                    static_cast<std::int64_t>(rewrite.at * kFrameBytes), PA_SEEK_ABSOLUTE);
}

void PulseOutput::Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    if (stop.stop_requested() || Failed()) return;
    // A tone whose place is still ahead of the write index is simply queued; one whose place was
    // rendered is placed when the server has said where the stream stands.
    std::optional<std::uint64_t> start;
    std::uint64_t generation = 0;
    {
        LoopLock loop(m_loop);
        generation = m_queue->Generation();
        start = m_queue->QueueAhead(hz, ms);
    }
    if (!start) {
        // Where the change put the tone; -1 until it is made (or when it is dropped).
        auto placed = std::make_shared<std::atomic<std::int64_t>>(-1);
        // Whether the change was made shows in `placed`, not in the answer.
        static_cast<void>(
            FetchTiming(stop, [this, hz, ms, generation, placed](const std::optional<Timing>& t) {
                const auto placement = m_queue->Place(hz, ms, generation, t, Clock::now());
                if (placement.rewrite) Send(*placement.rewrite);
                if (placement.start) placed->store(static_cast<std::int64_t>(*placement.start));
                m_written.store(m_queue->WriteIndex());
            }));
        if (placed->load() >= 0) start = static_cast<std::uint64_t>(placed->load());
    }
    if (!start) return;
    {
        std::lock_guard lock(m_mutex);
        if (!m_firstStart) m_firstStart = start;
    }
    m_changed.notify_all();
    WaitHeard(m_queue->HandBackFrame(*start, ms), stop, Clock::time_point::max());
}

void PulseOutput::Silence() {
    {
        // WaitUntilSounding waits for the first tone after this.
        std::lock_guard lock(m_mutex);
        m_firstStart.reset();
    }
    if (Failed()) return;
    {
        LoopLock loop(m_loop);
        m_queue->Silence();
        std::lock_guard lock(m_mutex);
        if (m_queue->SoundedOut(
                m_heard.Estimate(Clock::now(), static_cast<std::int64_t>(m_written)))) {
            return;
        }
    }
    // An answer later than FetchTiming waits for still writes the fade when it comes.
    static_cast<void>(FetchTiming({}, [this](const std::optional<Timing>& t) {
        if (const auto rewrite = m_queue->Stop(t, Clock::now())) Send(*rewrite);
    }));
}

void PulseOutput::WaitHeard(std::uint64_t frame, std::stop_token stop, Clock::time_point deadline) {
    using namespace std::chrono_literals;
    // Between reports the clock runs on at the stream's rate; each wait ends with a fresh report.
    // A stream that does not move (a server that holds it) is asked less and less often.
    Clock::duration patience = 20ms;
    std::optional<std::int64_t> lastHeard;
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            const auto now = Clock::now();
            const auto limit = static_cast<std::int64_t>(m_written.load());
            const auto wait = m_heard.Until(static_cast<std::int64_t>(frame), now, limit);
            const auto until = std::min(deadline, now + std::max<Clock::duration>(wait, 1ms));
            m_changed.wait_until(lock, stop, until, [&] { return m_failed.load(); });
            if (stop.stop_requested() || m_failed.load() || Clock::now() >= deadline) return;
        }
        if (!FetchTiming(stop, {})) continue;
        std::int64_t heard = 0;
        {
            std::lock_guard lock(m_mutex);
            if (!m_timing) continue;
            heard = HeardFrame(m_timing->stream);
        }
        if (heard >= static_cast<std::int64_t>(frame)) return;
        if (lastHeard && heard <= *lastHeard) {
            std::unique_lock lock(m_mutex);
            m_changed.wait_until(lock, stop, std::min(deadline, Clock::now() + patience),
                                 [&] { return m_failed.load(); });
            patience = std::min<Clock::duration>(2 * patience, 1s);
        } else {
            patience = 20ms;
        }
        lastHeard = heard;
    }
}

void PulseOutput::Drain(std::chrono::milliseconds limit) {
    std::uint64_t end = 0;
    {
        LoopLock loop(m_loop);
        end = m_queue->SoundEnd();
    }
    WaitHeard(end, {}, Clock::now() + limit);
}

void PulseOutput::WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    std::optional<std::uint64_t> first;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_until(lock, stop, deadline,
                             [&] { return m_firstStart.has_value() || m_failed.load(); });
        first = m_firstStart;
    }
    if (first) WaitHeard(*first, stop, deadline);
}
