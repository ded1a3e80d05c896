#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "tone/tone_sink.h"
#include "tone/tone_synth.h"

class RtAudio;

// Plays tones through the sound server (PulseAudio, else ALSA) with our synthesiser. Play queues
// the next tone while the current one sounds, so tones join without a gap and keep sample time.
// Without a device it keeps time on a clock, says so once on standard error, and tries to open
// the device again every few seconds. One instance per process.
class AudioToneSink final : public ToneSink {
public:
    static constexpr std::chrono::seconds kRetryInterval{3};

    AudioToneSink();
    ~AudioToneSink() override;

    void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    void Silence() override;
    // Waits, at most `limit`, until everything queued (and the fade after it) has been played.
    void Drain(std::chrono::milliseconds limit);
    // Waits, at most `limit`, until the first tone has begun to sound. A fresh stream can take a
    // while to start on some servers; a timed run counts its time from here. Returns at once
    // without a stream.
    void WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit);

    std::string ApiName() const;

private:
    static int Callback(void* output, void* input, unsigned int frames, double streamTime,
                        unsigned int status, void* self);
    friend void NotifyStreamFailed();

    // These run with m_mutex held.
    bool TryOpen();
    std::unique_ptr<RtAudio> TakeStream();
    void ReportOnce(const std::string& why);
    // Closes a stream that failed. Drops the lock meanwhile: closing joins the callback thread,
    // which may be waiting for the lock.
    void DropFailedStream(std::unique_lock<std::mutex>& lock);

    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    ToneSynth m_synth;
    std::unique_ptr<RtAudio> m_audio;
    bool m_open = false;
    bool m_reported = false;
    // Touched only by the stream's callback thread (and reset before the stream starts).
    std::uint64_t m_callbackFrames = 0;
    std::chrono::steady_clock::time_point m_callbackStart{};
    std::chrono::steady_clock::time_point m_nextRetry{};
};
