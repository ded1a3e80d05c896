#include "base/interruptible_wait.h"

#include <condition_variable>
#include <mutex>

// Nothing notifies these variables but the stop request, which the wait registers itself for.

bool WaitUntil(std::stop_token stop, std::chrono::steady_clock::time_point deadline) {
    std::mutex mutex;
    std::condition_variable_any never;
    std::unique_lock lock(mutex);
    never.wait_until(lock, stop, deadline, [] { return false; });
    return stop.stop_requested();
}

void WaitForStop(std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any never;
    std::unique_lock lock(mutex);
    never.wait(lock, stop, [] { return false; });
}
