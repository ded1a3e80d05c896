#pragma once

#include <cstdint>
#include <stop_token>

// Where the tone engine's players send their tones.
class ToneSink {
public:
    virtual ~ToneSink() = default;
    // Sounds `hz` for `ms` and returns when the tone has been heard in full, or at once when `stop`
    // is requested (also while it waits).
    virtual void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) = 0;
    // Cuts off whatever still sounds.
    virtual void Silence() = 0;
};
