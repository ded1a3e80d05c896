#pragma once

#include <cstdint>
#include <stop_token>

// How the animation thread waits out a frame's delay.
class FrameWaiter {
public:
    virtual ~FrameWaiter() = default;
    // Returns after `ms` milliseconds, or at once when a stop is requested through `stop`.
    // Called from animation threads, possibly several at a time.
    virtual void Wait(std::uint32_t ms, std::stop_token stop) = 0;
};

// Waits on the steady clock; a stop request wakes the wait at once.
class SteadyFrameWaiter final : public FrameWaiter {
public:
    void Wait(std::uint32_t ms, std::stop_token stop) override;
};
