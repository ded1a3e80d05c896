#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "tone/sound_output.h"
#include "tone/sounding_tone_sink.h"

// Plays tones through the platform's sound output (a sound server, a sound card, an audio
// endpoint), opened by the platform's opener. Without one it plays through the fallback sink, or
// keeps time on a clock when there is none, says so once on standard error, and tries to open an
// output again every few seconds. An output that fails on the way is dropped and another opened
// at once if one is there, else the same way. One instance per process.
class AudioToneSink final : public SoundingToneSink {
public:
    // Opens the output to use; null, with the reason in `why`, when there is none.
    using OutputOpener = std::function<std::unique_ptr<SoundOutput>(std::string& why)>;

    static constexpr std::chrono::seconds kRetryInterval{3};

    explicit AudioToneSink(OutputOpener open, std::unique_ptr<ToneSink> fallback = nullptr,
                           std::chrono::milliseconds retryInterval = kRetryInterval);
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
    std::shared_ptr<SoundOutput> Opened() const;
    void ReportOnce(const std::string& why);  // with m_mutex held

    OutputOpener m_open;
    std::unique_ptr<ToneSink> m_fallback;
    std::chrono::milliseconds m_retryInterval;
    mutable std::mutex m_mutex;
    std::shared_ptr<SoundOutput> m_output;
    bool m_reported = false;
    std::chrono::steady_clock::time_point m_nextRetry{};
    std::chrono::steady_clock::time_point m_lastFailure =
        std::chrono::steady_clock::time_point::min();
};
