#include "banner/frame_waiter.h"

#include <chrono>

#include "base/interruptible_wait.h"

void SteadyFrameWaiter::Wait(std::uint32_t ms, std::stop_token stop) {
    WaitFor(stop, std::chrono::milliseconds(ms));
}
