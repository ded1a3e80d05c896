#pragma once

#include <chrono>
#include <stop_token>
#include <utility>

// Waits that a stop request ends early: a thread that waits out a tone or a frame's delay must
// still be stopped at once. Each returns true when it ended because a stop was requested.
bool WaitUntil(std::stop_token stop, std::chrono::steady_clock::time_point deadline);

template <typename Rep, typename Period>
bool WaitFor(std::stop_token stop, std::chrono::duration<Rep, Period> length) {
    return WaitUntil(std::move(stop),
                     std::chrono::steady_clock::now() +
                         std::chrono::ceil<std::chrono::steady_clock::duration>(length));
}

// Waits until a stop is requested; a token that can never be stopped waits for ever.
void WaitForStop(std::stop_token stop);
