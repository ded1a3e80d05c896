#include "banner/frame_waiter.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

void SteadyFrameWaiter::Wait(std::uint32_t ms, std::stop_token stop) {
    // Nothing ever notifies this variable but the stop request, which the wait registers itself
    // for: the wait ends at the deadline or at the request, whichever comes first.
    std::mutex mutex;
    std::condition_variable_any woken;
    std::unique_lock lock(mutex);
    woken.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
}
