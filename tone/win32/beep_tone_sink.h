#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <stop_token>

#include "tone/sounding_tone_sink.h"

// Tones through kernel32 Beep, which blocks for the whole tone. A stop request cuts the tone in
// progress with the silence call Beep(0, 0), so Play returns as soon as Beep does. A Beep that
// returns early is waited out, so that every tone takes its length.
class BeepToneSink final : public SoundingToneSink {
public:
    // Called as Beep(frequency, duration). The silence call may come from another thread while a
    // tone is still inside it.
    using BeepFunction = std::function<void(std::uint32_t hz, std::uint32_t ms)>;

    // How long a stop keeps repeating the silence call, unless told otherwise: a stop that lands
    // just before Beep starts the tone would otherwise find nothing to cut. A platform whose Beep
    // cannot be cut at all costs the stopping thread no more than this.
    static constexpr std::chrono::milliseconds kCutPersistence{200};

    explicit BeepToneSink(BeepFunction beep = SystemBeep,
                          std::chrono::milliseconds cutPersistence = kCutPersistence);

    void Silence() override;

    static void SystemBeep(std::uint32_t hz, std::uint32_t ms);

private:
    struct PendingTone;
    void PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    void CutOff(PendingTone& tone);

    BeepFunction m_beep;
    std::chrono::milliseconds m_cutPersistence;
};
