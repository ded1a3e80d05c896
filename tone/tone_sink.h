#pragma once

#include <chrono>
#include <cstdint>
#include <stop_token>

#include "base/interruptible_wait.h"

// Where the tone engine's players send their tones.
class ToneSink {
public:
    virtual ~ToneSink() = default;
    // Sounds `hz` for `ms` and returns when the tone has been heard in full, or at once when `stop`
    // is requested (also while it waits).
    virtual void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) = 0;
    // Cuts off whatever still sounds.
    virtual void Silence() = 0;
    // Keeps quiet for `ms`, or until `stop`. A player rests between long runs of tones of no
    // length, which take no time and would otherwise spin.
    virtual void Rest(std::uint32_t ms, std::stop_token stop) {
        WaitFor(stop, std::chrono::milliseconds(ms));
    }
};
