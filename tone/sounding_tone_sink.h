#pragma once

#include <cstdint>
#include <stop_token>
#include <utility>

#include "tone/tone_sink.h"

// The base of the sinks that sound their tones (through the sound server, Beep or into a WAV
// file). A tone of no length and a tone asked for after a stop are met here, once for all of
// them: Play returns at once, and only a tone to sound reaches PlayTone.
class SoundingToneSink : public ToneSink {
public:
    void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) final {
        if (ms == 0 || stop.stop_requested()) return;
        PlayTone(hz, ms, std::move(stop));
    }

protected:
    // Play, for a tone of some length while no stop is requested.
    virtual void PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) = 0;
};
