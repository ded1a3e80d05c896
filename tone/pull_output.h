#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>

#include "tone/sound_output.h"
#include "tone/tone_synth.h"

// An output whose device pulls the sound: the device's callback or thread calls Render for every
// buffer it wants, and the synthesiser behind it is fed with tones under a lock. Nothing is
// rewritten, so a stop is heard once the device has played what it keeps queued. A sample counts
// as heard once the device's heard delay (what it keeps queued and its own latency) has been
// rendered after it. The waits end early once the device has failed.
class PullOutput : public SoundOutput {
public:
    // Drain waits this long past the heard end of the sound, so that a device closed at once
    // cannot cut the end of the fade.
    static constexpr std::chrono::milliseconds kDrainMargin{10};

    void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    void Silence() override;
    void Drain(std::chrono::milliseconds limit) override;
    void WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) override;
    bool Failed() const override { return m_failed.load(); }

    // The first tone has begun to be heard.
    bool Sounding() const;
    // Nothing is queued, and the end of the sound has been heard, with Drain's margin.
    bool Drained() const;

protected:
    PullOutput(unsigned sampleRate, std::uint32_t heardDelayFrames);
    // Starts afresh, for a device whose rate and delay are known only once it is open.
    void Reset(unsigned sampleRate, std::uint32_t heardDelayFrames);
    // Writes the next `frames` mono samples, and wakes the waiters when there is news for them.
    void Render(float* out, std::uint32_t frames);
    // The device cannot play any more: every wait ends.
    void Fail();

private:
    // With m_mutex held.
    bool IsSounding() const;
    bool IsDrained() const;
    std::uint64_t DrainedAt() const;

    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    ToneSynth m_synth;
    std::uint32_t m_heardDelayFrames;
    std::uint64_t m_soundEnd = 0;  // the frame after the last sound rendered
    std::atomic<bool> m_failed{false};
};
