#include "tone/win32/system_beep.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <stop_token>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Windows' Beep waits like SleepEx(ms, TRUE); Wine's returns at once, so the wait is real here.
void AlertableBeep(std::uint32_t hz, std::uint32_t ms) {
    if (hz != 0 || ms != 0) ::SleepEx(ms, TRUE);
}

TEST(SystemBeepWakerTest, AStopWakesTheThreadOutOfItsAlertableWait) {
    BeepToneSink sink(AlertableBeep, SystemBeepWaker);
    std::stop_source stop;
    Clock::time_point returned;
    std::jthread player([&] {
        sink.Play(1000, 10000, stop.get_token());
        returned = Clock::now();
    });
    std::this_thread::sleep_for(100ms);  // well inside the 10 s wait
    const auto stopped = Clock::now();
    stop.request_stop();
    player.join();
    EXPECT_LT(returned - stopped, 50ms);
}

}  // namespace
