#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "tone/linux/pulse_stream_io.h"
#include "tone/server_tone_queue.h"
#include "tone/sound_output.h"
#include "tone/stream_timing.h"

// One float32 mono 48 kHz stream on a PulseAudio server (or PipeWire's Pulse server), through
// libpulse's asynchronous API. The server keeps 450 ms queued and asks for more every 100 to
// 220 ms, which the write callback renders: the program wakes rarely and rides out a busy
// machine. A stop or a start rewrites the queued sound where ServerToneQueue decides, just past
// what is heard, so it is heard within a few ms all the same. This class moves the samples and
// the server's reports between its threads; when a tone is heard comes from the stream's timing,
// not from when it was rendered.
class PulseOutput final : public SoundOutput {
public:
    // Connects to the server and opens the stream; null, with the reason in `why`, when that
    // fails.
    [[nodiscard]] static std::unique_ptr<PulseOutput> Open(std::string& why);
    ~PulseOutput() override;

    void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    void Silence() override;
    void Drain(std::chrono::milliseconds limit) override;
    void WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) override;
    bool Failed() const override { return m_failed.load(); }
    std::string Name() const override { return m_serverName; }

private:
    using Clock = std::chrono::steady_clock;
    using Timing = ServerToneQueue::Report;

    PulseOutput();
    // Connects, step by step; false, with the first failing step's reason in `why`, on failure.
    [[nodiscard]] bool Connect(std::string& why);
    // Connect's steps, in order: each returns what failed, in words for "PulseAudio: " to lead.
    // The main loop with a context connecting to the server, and the loop's thread.
    std::optional<std::string> StartLoop();
    // Waits until the context is ready.
    std::optional<std::string> AwaitContext();
    std::optional<std::string> ReadServerName();
    // Sizes the queue for the server and its sink: long on a sink that rewinds (asked by a probe).
    std::optional<std::string> ChooseShape();
    // Creates the stream, connects it for playback and waits until it is ready.
    std::optional<std::string> OpenStream();
    std::string ServerError() const;  // the context's last error

    static void OnContextState(pa_context* context, void* self);
    static void OnStreamState(pa_stream* stream, void* self);
    static void OnWrite(pa_stream* stream, std::size_t bytes, void* self);
    static void OnTiming(pa_stream* stream, int success, void* self);

    // Asks the server where the stream stands, makes `change` (if any) on the loop's thread with
    // its answer, and waits for that (at most a second). False without an answer.
    [[nodiscard]] bool FetchTiming(std::stop_token stop,
                                   std::function<void(const std::optional<Timing>&)> change);
    // Sends a rewrite over the queued sound. Loop lock held.
    void Send(const ToneStream::Rewrite& rewrite);
    // Waits until `frame` has been heard, the deadline passes, the output fails or `stop`.
    void WaitHeard(std::uint64_t frame, std::stop_token stop, Clock::time_point deadline);
    void Fail();

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    std::string m_serverName;
    // The loop lock guards these. The queue is made, to the shape chosen, before the stream opens.
    std::optional<ServerToneQueue> m_queue;
    std::deque<std::function<void(const std::optional<Timing>&)>> m_changes;  // by answer

    // Guards what the loop's callbacks report to waiting threads. Taken inside the loop lock,
    // never the other way round.
    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::atomic<bool> m_failed{false};
    std::optional<Timing> m_timing;
    std::uint64_t m_timingAsked = 0;
    std::uint64_t m_timingAnswered = 0;
    HeardClock m_heard;
    std::optional<std::uint64_t> m_firstStart;  // of the first tone since the last Silence
    std::atomic<std::uint64_t> m_written{0};
};
