#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "tone/sound_output.h"
#include "tone/tone_synth.h"

// The default audio endpoint through WASAPI in shared mode. A thread of its own, woken by the
// endpoint at every period, renders just enough to keep a little over two periods queued there, so
// that a stop is heard within that and the endpoint's latency without rewriting anything; a tone
// counts as begun once it has been rendered into the endpoint's buffer. The endpoint's COM objects
// live on that thread alone.
class WasapiOutput final : public SoundOutput {
public:
    // Opens the default endpoint; null, with the reason in `why`, when there is none.
    [[nodiscard]] static std::unique_ptr<WasapiOutput> Open(std::string& why);
    ~WasapiOutput() override;

    void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    void Silence() override;
    void Drain(std::chrono::milliseconds limit) override;
    void WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) override;
    bool Failed() const override { return m_failed.load(); }
    std::string Name() const override { return "WASAPI"; }

private:
    WasapiOutput() = default;
    // The endpoint's thread: opens it, tells `opened` how that went, then feeds it until told to
    // quit or until it fails.
    void Run(std::promise<std::string> opened);
    // Renders `frames` mono samples and wakes the waiters when there is news for them.
    void Render(float* out, std::uint32_t frames);
    void Fail();

    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    ToneSynth m_synth;
    // Frames between rendering a sample and its being heard: what is kept queued, and the
    // endpoint's own latency.
    std::uint32_t m_heardDelayFrames = 0;
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};
