#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>

#include "tone/sounding_tone_sink.h"

// Tones through a Beep call that blocks for the whole tone, as kernel32 Beep does. A stop request
// silences the speaker with Beep(0, 0) and wakes the thread waiting inside Beep, which the silence
// call alone does not end, so that Play returns within milliseconds. A Beep that returns early is
// waited out, so that every tone takes its length.
class BeepToneSink final : public SoundingToneSink {
public:
    // Called as Beep(frequency, duration); Beep(0, 0) silences the speaker and may come from
    // another thread while a tone is still inside Beep.
    using BeepFunction = std::function<void(std::uint32_t hz, std::uint32_t ms)>;
    // Ends the wait inside Beep of the thread it was made on; called from another thread.
    using WakeFunction = std::function<void()>;
    // Makes a WakeFunction for the calling thread.
    using WakerFunction = std::function<WakeFunction()>;

    BeepToneSink(BeepFunction beep, WakerFunction wakerOfThisThread);

    void Silence() override;

private:
    struct PendingTone;
    void PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    void CutOff(PendingTone& tone);

    BeepFunction m_beep;
    WakerFunction m_wakerOfThisThread;
};
