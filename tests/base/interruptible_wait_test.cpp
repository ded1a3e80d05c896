#include "base/interruptible_wait.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(InterruptibleWaitTest, EndsAtItsTimeOrAtOnceWhenStopped) {
    struct Case {
        const char* name;
        std::optional<std::chrono::milliseconds> stopAfter;  // none: never; 0: before the wait
        std::function<bool(std::stop_token)> wait;
        bool interrupted;
        std::chrono::milliseconds atLeast;
        std::chrono::milliseconds below;
    };
    const auto waitFor = [](auto length) {
        return [length](std::stop_token stop) { return WaitFor(stop, length); };
    };
    const auto waitUntil = [](Clock::duration fromNow) {
        return [fromNow](std::stop_token stop) { return WaitUntil(stop, Clock::now() + fromNow); };
    };
    const auto waitForStop = [](std::stop_token stop) {
        WaitForStop(stop);
        return true;
    };
    const Case cases[] = {
        {"a length runs out", std::nullopt, waitFor(40ms), false, 40ms, 10s},
        {"seconds as a fraction", std::nullopt, waitFor(std::chrono::duration<double>(0.04)), false,
         40ms, 10s},
        {"a deadline comes", std::nullopt, waitUntil(40ms), false, 40ms, 10s},
        {"a deadline gone by", std::nullopt, waitUntil(-1s), false, 0ms, 2s},
        {"stopped before a long wait", 0ms, waitFor(60s), true, 0ms, 2s},
        {"stopped during a long wait", 30ms, waitFor(60s), true, 30ms, 10s},
        {"stopped before a far deadline", 0ms, waitUntil(60s), true, 0ms, 2s},
        {"stopped before its deadline", 30ms, waitUntil(60s), true, 30ms, 10s},
        {"waiting for the stop", 30ms, waitForStop, true, 30ms, 10s},
    };
    for (const Case& test : cases) {
        std::stop_source source;
        if (test.stopAfter == 0ms) source.request_stop();
        const auto start = Clock::now();
        std::jthread stopper;
        if (test.stopAfter > 0ms) {
            stopper = std::jthread([&source, after = *test.stopAfter] {
                std::this_thread::sleep_for(after);
                source.request_stop();
            });
        }
        EXPECT_EQ(test.wait(source.get_token()), test.interrupted) << test.name;
        const auto took = Clock::now() - start;
        EXPECT_GE(took, test.atLeast) << test.name;
        EXPECT_LT(took, test.below) << test.name;
    }
}

}  // namespace
