#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "tone/sounding_tone_sink.h"

class SoundOutput;

// Plays tones through the sound server (PulseAudio, or PipeWire's Pulse server), else straight
// to the sound card through ALSA. Without either it keeps time on a clock, says so once on
// standard error, and tries to open an output again every few seconds; an output that fails on
// the way is dropped the same way. One instance per process.
class AudioToneSink final : public SoundingToneSink {
public:
    static constexpr std::chrono::seconds kRetryInterval{3};

    AudioToneSink();
    ~AudioToneSink() override;

    void Silence() override;
    // Waits, at most `limit`, until everything queued (and the fade after it) has been heard.
    void Drain(std::chrono::milliseconds limit);
    // Waits, at most `limit`, until the first tone has begun to sound. A timed run counts its time
    // from here. Returns at once without an output.
    void WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit);

private:
    void PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    // The output to use now: drops one that failed and, when due, tries to open one.
    std::shared_ptr<SoundOutput> Current();
    void ReportOnce(const std::string& why);  // with m_mutex held

    mutable std::mutex m_mutex;
    std::shared_ptr<SoundOutput> m_output;
    bool m_reported = false;
    std::chrono::steady_clock::time_point m_nextRetry{};
};
