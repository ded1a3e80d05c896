#include "tone/win32/beep_tone_sink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
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

// Behaves like a Beep that the silence call can cut: a tone blocks for its length or until a
// Beep(0, 0) arrives while it sounds. A silence call with nothing sounding does nothing.
class FakeBeep {
public:
    // Called with the lock dropped, inside a tone's Beep before the tone starts sounding.
    std::function<void()> beforeTone;
    // Some platforms cannot cut a tone in progress.
    bool cuttable = true;
    // Some return at once, sounding nothing (Wine, or no beeper at all).
    bool returnsAtOnce = false;

    void operator()(std::uint32_t hz, std::uint32_t ms) {
        std::unique_lock lock(m_mutex);
        m_calls.emplace_back(hz, ms);
        if (hz == 0 && ms == 0) {
            if (cuttable && m_sounding > 0) ++m_cuts;
            m_changed.notify_all();
            return;
        }
        if (beforeTone) {
            lock.unlock();
            beforeTone();
            lock.lock();
        }
        const int cuts = m_cuts;
        ++m_started;
        m_changed.notify_all();
        if (returnsAtOnce) return;
        ++m_sounding;
        m_changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_cuts != cuts; });
        --m_sounding;
    }

    BeepToneSink::BeepFunction Function() {
        return [this](std::uint32_t hz, std::uint32_t ms) { (*this)(hz, ms); };
    }

    bool WaitForTones(int count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 5s, [&] { return m_started >= count; });
    }
    bool WaitForSilenceCalls(std::size_t count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 5s, [&] { return SilenceCallsLocked() >= count; });
    }
    std::vector<Call> Calls() const {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    std::vector<Call> Tones() const {
        std::lock_guard lock(m_mutex);
        std::vector<Call> tones;
        for (const Call& c : m_calls) {
            if (c != Call{0, 0}) tones.push_back(c);
        }
        return tones;
    }
    std::size_t SilenceCalls() const {
        std::lock_guard lock(m_mutex);
        return SilenceCallsLocked();
    }

private:
    std::size_t SilenceCallsLocked() const {
        std::size_t n = 0;
        for (const Call& c : m_calls) n += c == Call{0, 0};
        return n;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Call> m_calls;
    int m_sounding = 0;
    int m_started = 0;
    int m_cuts = 0;
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

    FakeBeep beep;
    BeepToneSink sink{beep.Function()};
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
    ASSERT_TRUE(beep.WaitForTones(1));
    const auto stopped = Clock::now();
    stop.request_stop();
    player.join();
    EXPECT_LT(returned - stopped, 5s) << "the 32.8 s tone was cut";
    const std::vector<Call> calls = beep.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], Call(1000, 32767));
    EXPECT_EQ(calls[1], Call(0, 0));
}

// The stop lands after Play has committed to the tone but before Beep starts sounding it, so the
// first silence call finds nothing to cut; the sink must keep cutting until the tone is gone.
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

// Where Beep cannot be cut, Play ends with the tone, and the stopping thread is held only for the
// sink's persistence, here 20 ms.
TEST_F(BeepToneSinkTest, UncuttableBeepHoldsTheStopperOnlyBriefly) {
    beep.cuttable = false;
    BeepToneSink brief(beep.Function(), 20ms);
    std::jthread player([&] {
        brief.Play(1000, 400, stop.get_token());
        returned = Clock::now();
    });
    ASSERT_TRUE(beep.WaitForTones(1));
    const auto stopped = Clock::now();
    stop.request_stop();
    const auto stopReturned = Clock::now();
    player.join();
    EXPECT_LT(stopReturned - stopped, BeepToneSink::kCutPersistence)
        << "the stopper gave up long before the 400 ms tone ended, at its sink's persistence";
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
    EXPECT_EQ(beep.Tones(), (std::vector<Call>{{440, 80}, {1000, 30000}}));
}

// The engine over this sink: Stop returns at once even in the middle of the longest tone.
TEST(BeepToneSinkEngineTest, EngineStopDoesNotWaitForTheTone) {
    FakeBeep beep;
    BeepToneSink sink(beep.Function());
    ScriptedPrompt prompt;
    FakeResources resources;
    CTonePlayer player(sink, prompt, resources);
    std::int32_t f1 = 16000, f2 = 20000, delay = 32767, step = 10;
    ASSERT_TRUE(player.SetParams(f1, f2, delay, step));
    player.StartSweep();
    ASSERT_TRUE(beep.WaitForTones(1));
    const auto start = Clock::now();
    player.Stop();
    EXPECT_LT(Clock::now() - start, 5s) << "Stop cut the 32.8 s tone";
    EXPECT_EQ(beep.Tones(), (std::vector<Call>{{16000, 32767}}));
    const std::vector<Call> calls = beep.Calls();
    EXPECT_EQ(calls.back(), Call(0, 0));
}

}  // namespace
