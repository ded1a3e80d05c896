#include "tone/beep_tone_sink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/fake_resources.h"
#include "tests/support/scripted_prompt.h"
#include "tone/tone_player.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Call = std::pair<std::uint32_t, std::uint32_t>;

// A number of its own for every thread: thread ids may be reused once a thread has ended.
int ThisThread() {
    static std::atomic<int> threads{0};
    thread_local const int self = ++threads;
    return self;
}

// Behaves like Windows' Beep: a tone sounds until its time is up or Beep(0, 0) silences it, and
// the calling thread waits out the whole tone in an alertable wait that only a wake (an APC)
// queued to that thread ends early, also when it was queued before the wait began.
class WindowsBeep {
public:
    // Called with the lock dropped, inside a tone's Beep before the tone starts sounding.
    std::function<void()> beforeTone;
    // Some platforms cannot wake the thread inside Beep.
    bool wakeable = true;
    // Some return at once, sounding nothing (Wine, or no beeper at all).
    bool returnsAtOnce = false;

    void operator()(std::uint32_t hz, std::uint32_t ms) {
        std::unique_lock lock(m_mutex);
        const int caller = ThisThread();
        m_calls.push_back({hz, ms, caller});
        if (hz == 0 && ms == 0) {
            m_soundsUntil = Clock::now();
            m_changed.notify_all();
            return;
        }
        if (beforeTone) {
            lock.unlock();
            beforeTone();
            lock.lock();
        }
        ++m_started;
        m_changed.notify_all();
        if (returnsAtOnce) return;
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        m_soundsUntil = end;
        ++m_waiting;
        m_changed.notify_all();
        m_changed.wait_until(lock, end, [&] { return m_wakes[caller] > 0; });
        if (m_wakes[caller] > 0) --m_wakes[caller];
        --m_waiting;
    }

    BeepToneSink::BeepFunction Function() {
        return [this](std::uint32_t hz, std::uint32_t ms) { (*this)(hz, ms); };
    }
    BeepToneSink::WakerFunction Waker() {
        return [this]() -> BeepToneSink::WakeFunction {
            const int thread = ThisThread();
            return [this, thread] {
                std::lock_guard lock(m_mutex);
                if (!wakeable) return;
                ++m_wakes[thread];
                m_changed.notify_all();
            };
        };
    }

    bool WaitForTones(int count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 5s, [&] { return m_started >= count; });
    }
    // Waits until a thread waits inside Beep, after `tones` tones in all.
    bool WaitForWaitingTone(int tones) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 5s, [&] { return m_started >= tones && m_waiting > 0; });
    }
    bool WaitForSilenceCalls(std::size_t count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 5s, [&] { return SilenceCallsLocked() >= count; });
    }
    bool Sounding() const {
        std::lock_guard lock(m_mutex);
        return Clock::now() < m_soundsUntil;
    }
    std::vector<Call> Calls() const {
        std::lock_guard lock(m_mutex);
        std::vector<Call> calls;
        for (const Record& r : m_calls) calls.emplace_back(r.hz, r.ms);
        return calls;
    }
    std::size_t SilenceCalls() const {
        std::lock_guard lock(m_mutex);
        return SilenceCallsLocked();
    }
    // The thread of the last call, and whether any call of `thread` came after `other`'s first.
    int LastCaller() const {
        std::lock_guard lock(m_mutex);
        return m_calls.back().thread;
    }
    bool CalledAfterFirstCallOf(int thread, int other) const {
        std::lock_guard lock(m_mutex);
        bool otherCalled = false;
        for (const Record& r : m_calls) {
            otherCalled = otherCalled || r.thread == other;
            if (otherCalled && r.thread == thread) return true;
        }
        return false;
    }

private:
    struct Record {
        std::uint32_t hz;
        std::uint32_t ms;
        int thread;
    };
    std::size_t SilenceCallsLocked() const {
        std::size_t n = 0;
        for (const Record& r : m_calls) n += r.hz == 0 && r.ms == 0;
        return n;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Record> m_calls;
    std::map<int, int> m_wakes;
    Clock::time_point m_soundsUntil;
    int m_started = 0;
    int m_waiting = 0;
};

class BeepToneSinkTest : public ::testing::Test {
protected:
    // Plays on a thread of its own; `returned` is the moment Play came back.
    std::jthread PlayAsync(std::uint32_t hz, std::uint32_t ms) {
        return std::jthread([this, hz, ms] {
            sink.Play(hz, ms, stop.get_token());
            returned = Clock::now();
        });
    }

    WindowsBeep beep;
    BeepToneSink sink{beep.Function(), beep.Waker()};
    std::stop_source stop;
    Clock::time_point returned;
};

TEST_F(BeepToneSinkTest, PlaysTheToneInFullWhenNotStopped) {
    const auto start = Clock::now();
    sink.Play(440, 40, stop.get_token());
    EXPECT_GE(Clock::now() - start, 40ms);
    EXPECT_EQ(beep.Calls(), (std::vector<Call>{{440, 40}}));
}

TEST_F(BeepToneSinkTest, StopCutsTheLongestToneAtOnce) {
    std::jthread player = PlayAsync(1000, 32767);
    ASSERT_TRUE(beep.WaitForWaitingTone(1));
    const auto stopped = Clock::now();
    stop.request_stop();
    player.join();
    EXPECT_LT(returned - stopped, 5s) << "the 32.8 s tone was cut";
    EXPECT_FALSE(beep.Sounding());
    const std::vector<Call> calls = beep.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], Call(1000, 32767));
    EXPECT_EQ(calls[1], Call(0, 0));
}

// The stop lands after Play has committed to the tone but before Beep starts sounding it, so the
// first silence call finds nothing to cut; the tone must still end, and fall silent.
TEST_F(BeepToneSinkTest, StopJustBeforeTheToneSoundsStillCutsIt) {
    std::jthread stopper;
    beep.beforeTone = [&] {
        stopper = std::jthread([&] { stop.request_stop(); });
        ASSERT_TRUE(beep.WaitForSilenceCalls(1));
    };
    const auto start = Clock::now();
    sink.Play(1000, 5000, stop.get_token());
    EXPECT_LT(Clock::now() - start, 2500ms) << "the 5 s tone was cut";
    EXPECT_GE(beep.SilenceCalls(), 2u);
    EXPECT_FALSE(beep.Sounding());
}

TEST_F(BeepToneSinkTest, PlayAfterStopReturnsAtOnceWithoutBeeping) {
    stop.request_stop();
    const auto start = Clock::now();
    sink.Play(1000, 32767, stop.get_token());
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_TRUE(beep.Calls().empty());
}

TEST_F(BeepToneSinkTest, SilenceMakesTheSilenceCall) {
    sink.Silence();
    EXPECT_EQ(beep.Calls(), (std::vector<Call>{{0, 0}}));
}

// Where the thread inside Beep cannot be woken, Play ends with the tone, and the stopping thread
// is still held only briefly.
TEST_F(BeepToneSinkTest, UnwakeableBeepHoldsTheStopperOnlyBriefly) {
    beep.wakeable = false;
    std::jthread player = PlayAsync(1000, 400);
    ASSERT_TRUE(beep.WaitForWaitingTone(1));
    const auto stopped = Clock::now();
    stop.request_stop();
    const auto stopReturned = Clock::now();
    player.join();
    EXPECT_LT(stopReturned - stopped, 200ms) << "the stopper did not wait for the 400 ms tone";
    EXPECT_GE(returned - stopped, 200ms) << "Play ended with the tone";
}

// A Beep that returns at once must not make the players spin: the tone still takes its length,
// and a stop still ends it at once.
TEST_F(BeepToneSinkTest, BeepThatReturnsEarlyIsWaitedOutUntilStopped) {
    beep.returnsAtOnce = true;
    auto start = Clock::now();
    sink.Play(440, 80, stop.get_token());
    EXPECT_GE(Clock::now() - start, 80ms);

    std::jthread player = PlayAsync(1000, 30000);
    ASSERT_TRUE(beep.WaitForTones(2));
    std::this_thread::sleep_for(20ms);
    start = Clock::now();
    stop.request_stop();
    player.join();
    EXPECT_LT(returned - start, 2s) << "the stop ended the 30 s wait";
    // A tone that Beep has ended already has no silence call to make.
    EXPECT_EQ(beep.Calls(), (std::vector<Call>{{440, 80}, {1000, 30000}}));
}

// A tone takes its length from when Play began, whether Beep sounds it in full or returns at once:
// no shorter, and not its length again after Beep.
TEST_F(BeepToneSinkTest, EveryToneTakesItsLengthAndNoLonger) {
    for (const bool returnsAtOnce : {false, true}) {
        beep.returnsAtOnce = returnsAtOnce;
        const auto start = Clock::now();
        sink.Play(440, 200, stop.get_token());
        const auto took = Clock::now() - start;
        EXPECT_GE(took, 200ms) << "returns at once: " << returnsAtOnce;
        EXPECT_LT(took, 390ms) << "returns at once: " << returnsAtOnce;  // not twice
    }
}

// The engine over this sink never holds the interface thread for a tone: each command that ends
// a player returns within 50 ms while a tone of any length waits inside Beep, nothing sounds after
// Stop, and the old player plays nothing once the new one has begun.
TEST(BeepToneSinkEngineTest, NoCommandWaitsForTheToneInBeep) {
    struct Command {
        const char* name;
        std::function<void(CTonePlayer&, std::int32_t delay)> run;
        bool startsAnother;
    };
    const Command commands[] = {
        {"Stop", [](CTonePlayer& player, std::int32_t) { player.Stop(); }, false},
        {"Set",
         [](CTonePlayer& player, std::int32_t delay) {
             std::int32_t f1 = 500, f2 = 900, step = 100;
             ASSERT_TRUE(player.SetParams(f1, f2, delay, step));
             player.StartSweep();
         },
         true},
        {"StartSweep", [](CTonePlayer& player, std::int32_t) { player.StartSweep(); }, true},
        {"StartMelody", [](CTonePlayer& player, std::int32_t) { player.StartMelody(); }, true},
    };
    for (const std::int32_t delay : {500, 5000, 32767}) {
        for (const Command& command : commands) {
            SCOPED_TRACE(::testing::Message() << command.name << " at Delay " << delay);
            WindowsBeep beep;
            BeepToneSink sink(beep.Function(), beep.Waker());
            ScriptedPrompt prompt;
            FakeResources resources;
            resources.AddWords(139, {1318, 3000, 1174, 3000});
            CTonePlayer player(sink, prompt, resources);
            ASSERT_NE(player.LoadMelody(139), nullptr);
            std::int32_t f1 = 16000, f2 = 20000, d = delay, step = 10;
            ASSERT_TRUE(player.SetParams(f1, f2, d, step));
            player.StartSweep();
            ASSERT_TRUE(beep.WaitForWaitingTone(1));
            const int oldPlayer = beep.LastCaller();

            const auto start = Clock::now();
            command.run(player, delay);
            const auto held = Clock::now() - start;
            EXPECT_LT(held, 50ms) << "held the interface thread for "
                                  << std::chrono::duration<double, std::milli>(held).count()
                                  << " ms";
            if (!command.startsAnother) {
                EXPECT_FALSE(beep.Sounding());
                player.StartSweep();
            }
            ASSERT_TRUE(beep.WaitForWaitingTone(2));
            const int newPlayer = beep.LastCaller();
            ASSERT_NE(newPlayer, oldPlayer);
            EXPECT_FALSE(beep.CalledAfterFirstCallOf(oldPlayer, newPlayer))
                << "the old player beeped after the new one began";
        }
    }
}

}  // namespace
