#include "tone/tone_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "tests/support/fake_resources.h"
#include "tests/support/recording_tone_sink.h"
#include "tests/support/scripted_prompt.h"

namespace {

using Call = RecordingToneSink::Call;
using namespace std::chrono_literals;

Call Tone(std::uint32_t hz, std::uint32_t ms) { return {false, hz, ms}; }

// Waits, at most 10 s, for a started player to end without being stopped.
bool EndsByItself(const CTonePlayer& player) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (player.IsPlayerRunning() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    return !player.IsPlayerRunning();
}

class TonePlayerTest : public ::testing::Test {
protected:
    // Accepts the values and starts the sweep; the first `plays` tones return at once.
    void Sweep(std::int32_t f1, std::int32_t f2, std::int32_t delay, std::int32_t step,
               std::size_t plays) {
        sink.HoldAfter(plays);
        ASSERT_TRUE(player.SetParams(f1, f2, delay, step));
        player.StartSweep();
    }

    RecordingToneSink sink;
    ScriptedPrompt prompt;
    FakeResources resources;
    CTonePlayer player{sink, prompt, resources};
};

// --- Checks and messages -------------------------------------------------------------------

TEST_F(TonePlayerTest, AcceptsTheWholeRangeOfEveryField) {
    std::int32_t f1 = 0, f2 = 32767, delay = 32767, step = 0;
    EXPECT_TRUE(player.SetParams(f1, f2, delay, step));
    EXPECT_EQ(player.GetParams(), (ToneParams{0, 32767, 32767, 0}));
    f1 = 32767, delay = 0, step = 32767;
    EXPECT_TRUE(player.SetParams(f1, f2, delay, step));
    EXPECT_EQ(player.GetParams(), (ToneParams{32767, 32767, 0, 32767}));
    EXPECT_TRUE(prompt.errors.empty());
}

TEST_F(TonePlayerTest, RefusesEachFieldJustOutsideItsRangeWithItsOwnMessage) {
    struct Case {
        ToneParams values;
        const char* message;
    };
    const Case cases[] = {
        {{-1, 20000, 500, 10}, "Frequency must range from 0 to 32767"},
        {{32768, 20000, 500, 10}, "Frequency must range from 0 to 32767"},
        {{16000, -1, 500, 10}, "Frequency must range from 0 to 32767"},
        {{16000, 32768, 500, 10}, "Frequency must range from 0 to 32767"},
        {{16000, 20000, -1, 10}, "Delay must range from 0 to 32767"},
        {{16000, 20000, 32768, 10}, "Delay must range from 0 to 32767"},
        {{16000, 20000, 500, -1}, "Step must range from 0 to 32767"},
        {{16000, 20000, 500, 32768}, "Step must range from 0 to 32767"},
    };
    std::int32_t a = 1, b = 2, c = 3, d = 4;
    ASSERT_TRUE(player.SetParams(a, b, c, d));
    for (const Case& test : cases) {
        ToneParams v = test.values;
        prompt.errors.clear();
        EXPECT_FALSE(player.SetParams(v.Frequency1, v.Frequency2, v.Delay, v.Step));
        EXPECT_EQ(prompt.errors, std::vector<std::string>{test.message});
        EXPECT_EQ(v, test.values) << "the caller's variables must stay as they were";
        EXPECT_EQ(player.GetParams(), (ToneParams{1, 2, 3, 4})) << "nothing may be stored";
    }
}

TEST_F(TonePlayerTest, ShowsOnlyTheFirstFailingChecksMessage) {
    std::int32_t f1 = 16000, f2 = 40000, delay = -5, step = 99999;
    EXPECT_FALSE(player.SetParams(f1, f2, delay, step));
    EXPECT_EQ(prompt.errors, std::vector<std::string>{"Frequency must range from 0 to 32767"});
    // An out-of-range lower frequency wins over a swap that would otherwise happen.
    std::int32_t g1 = 32768, g2 = 100, gd = 1, gs = 1;
    EXPECT_FALSE(player.SetParams(g1, g2, gd, gs));
    EXPECT_EQ(g1, 32768);
    EXPECT_EQ(g2, 100);
}

TEST_F(TonePlayerTest, ExchangesReversedFrequenciesInTheCallersVariables) {
    std::int32_t f1 = 20000, f2 = 16000, delay = 500, step = 10;
    EXPECT_TRUE(player.SetParams(f1, f2, delay, step));
    EXPECT_EQ(f1, 16000);
    EXPECT_EQ(f2, 20000);
    EXPECT_EQ(player.GetParams(), (ToneParams{16000, 20000, 500, 10}));

    std::int32_t e1 = 440, e2 = 440;
    EXPECT_TRUE(player.SetParams(e1, e2, delay, step));
    EXPECT_EQ(player.GetParams(), (ToneParams{440, 440, 500, 10}));
}

// --- Stepping and wrap ---------------------------------------------------------------------

TEST_F(TonePlayerTest, SweepStepsUpToTheTopAndWrapsToTheBottom) {
    Sweep(100, 135, 7, 10, 9);
    ASSERT_TRUE(sink.WaitForPlays(10));
    player.Stop();
    const std::vector<Call> expected = {Tone(100, 7), Tone(110, 7), Tone(120, 7), Tone(130, 7),
                                        Tone(100, 7), Tone(110, 7), Tone(120, 7), Tone(130, 7),
                                        Tone(100, 7), Tone(110, 7)};
    EXPECT_EQ(sink.Plays(), expected) << "135 is never reached exactly, so 130 is the top";
}

TEST_F(TonePlayerTest, SweepPlaysTheUpperFrequencyWhenReachedExactly) {
    Sweep(16000, 16020, 500, 10, 3);
    ASSERT_TRUE(sink.WaitForPlays(4));
    player.Stop();
    EXPECT_EQ(sink.Plays(), (std::vector<Call>{Tone(16000, 500), Tone(16010, 500), Tone(16020, 500),
                                               Tone(16000, 500)}));
}

TEST_F(TonePlayerTest, SweepRepeatsOneFrequencyWhenTheRangeIsEmptyOrTheStepTooLarge) {
    Sweep(440, 440, 5, 10, 2);
    ASSERT_TRUE(sink.WaitForPlays(3));
    player.Stop();
    EXPECT_EQ(sink.Plays(), (std::vector<Call>{Tone(440, 5), Tone(440, 5), Tone(440, 5)}));

    RecordingToneSink other;
    CTonePlayer second(other, prompt, resources);
    other.HoldAfter(2);
    std::int32_t f1 = 1000, f2 = 1500, delay = 5, step = 501;
    ASSERT_TRUE(second.SetParams(f1, f2, delay, step));
    second.StartSweep();
    ASSERT_TRUE(other.WaitForPlays(3));
    second.Stop();
    EXPECT_EQ(other.Plays(), (std::vector<Call>{Tone(1000, 5), Tone(1000, 5), Tone(1000, 5)}));
}

TEST_F(TonePlayerTest, DefaultSweepIsOnePassOf401TonesFrom16000To20000) {
    Sweep(16000, 20000, 500, 10, 401);
    ASSERT_TRUE(sink.WaitForPlays(402));
    player.Stop();
    const std::vector<Call> plays = sink.Plays();
    for (int i = 0; i < 401; ++i) ASSERT_EQ(plays[i], Tone(16000 + 10 * i, 500)) << i;
    EXPECT_EQ(plays[401], Tone(16000, 500));
    EXPECT_EQ(sink.ElapsedMs() - 500, 200500u) << "one pass lasts 200.5 s of tones";
}

TEST_F(TonePlayerTest, SweepReadsTheParametersAfreshAtEveryStep) {
    Sweep(1000, 2000, 50, 100, 2);
    ASSERT_TRUE(sink.WaitForPlays(3));  // the third tone (1200 Hz) is sounding
    std::int32_t f1 = 500, f2 = 1250, delay = 20, step = 30;
    ASSERT_TRUE(player.SetParams(f1, f2, delay, step));
    sink.HoldAfter(5);
    ASSERT_TRUE(sink.WaitForPlays(6));
    player.Stop();
    // 1200 + 30 = 1230 <= 1250; 1260 > 1250 wraps to the new bottom, 500.
    EXPECT_EQ(sink.Plays(), (std::vector<Call>{Tone(1000, 50), Tone(1100, 50), Tone(1200, 50),
                                               Tone(1230, 20), Tone(500, 20), Tone(530, 20)}));
}

TEST_F(TonePlayerTest, DelayZeroPlaysToneCallsOfLengthZero) {
    Sweep(16000, 16010, 0, 10, 3);
    ASSERT_TRUE(sink.WaitForPlays(4));
    player.Stop();
    EXPECT_EQ(sink.Plays(),
              (std::vector<Call>{Tone(16000, 0), Tone(16010, 0), Tone(16000, 0), Tone(16010, 0)}));
}

TEST_F(TonePlayerTest, ARunOfTonesOfNoLengthRestsInsteadOfSpinning) {
    const std::size_t run = CTonePlayer::kSilentRunLength;
    Sweep(16000, 16010, 0, 10, 2 * run);
    ASSERT_TRUE(sink.WaitForPlays(2 * run + 1));
    player.Stop();
    EXPECT_EQ(sink.PlaysBeforeRests(), (std::vector<std::size_t>{run, 2 * run}));
    EXPECT_EQ(sink.ElapsedMs(), 2 * CTonePlayer::kSilentRunRestMs);
    EXPECT_EQ(sink.Plays().size(), 2 * run + 1) << "every tone is still played, with length 0";
}

TEST_F(TonePlayerTest, MelodyRestsOnlyWhenNoneOfItsTonesHasLength) {
    const std::size_t run = CTonePlayer::kSilentRunLength;
    resources.AddWords(139, {500, 3, 600, 4, 700});  // every third tone has no length
    ASSERT_NE(player.LoadMelody(139), nullptr);
    sink.HoldAfter(3 * run);
    player.StartMelody();
    ASSERT_TRUE(sink.WaitForPlays(3 * run + 1));
    player.Stop();
    EXPECT_TRUE(sink.PlaysBeforeRests().empty());

    resources.AddWords(140, {700});
    ASSERT_NE(player.LoadMelody(140), nullptr);
    const std::size_t before = sink.PlayCount();
    sink.HoldAfter(before + run);
    player.StartMelody();
    ASSERT_TRUE(sink.WaitForPlays(before + run + 1));
    player.Stop();
    EXPECT_EQ(sink.PlaysBeforeRests(), (std::vector<std::size_t>{before + run}));
}

// --- Refused players -----------------------------------------------------------------------

TEST_F(TonePlayerTest, SweepWithAZeroFrequencyOrStepPlaysNothingAndALaterStopIsHarmless) {
    const ToneParams refused[] = {{0, 20000, 500, 10}, {0, 0, 500, 10}, {16000, 20000, 500, 0}};
    for (ToneParams v : refused) {
        ASSERT_TRUE(player.SetParams(v.Frequency1, v.Frequency2, v.Delay, v.Step));
        player.StartSweep();
        EXPECT_TRUE(EndsByItself(player)) << v.Frequency1 << " " << v.Frequency2 << " " << v.Step;
        player.Stop();
        player.Stop();
    }
    EXPECT_EQ(sink.PlayCount(), 0u);
    // Each start stops first, and each Stop silences: 3 starts + 6 stops.
    EXPECT_EQ(sink.Calls().size(), 9u);
}

TEST_F(TonePlayerTest, MelodyWithoutAResourcePlaysNothing) {
    EXPECT_EQ(player.LoadMelody(139), nullptr);
    EXPECT_EQ(player.GetMelodyWordCount(), 0);
    player.StartMelody();
    EXPECT_TRUE(EndsByItself(player));
    player.Stop();
    EXPECT_EQ(sink.PlayCount(), 0u);

    resources.AddWords(7, {});
    EXPECT_EQ(player.LoadMelody(7), nullptr) << "an empty resource is as good as none";
    EXPECT_EQ(player.GetMelodyWordCount(), 0);
}

// --- Melody copy -------------------------------------------------------------------------------

TEST_F(TonePlayerTest, MelodyPlaysEveryPairInOrderWithLengthsInTensOfMsThenStartsAgain) {
    resources.AddWords(139, {1318, 60, 1174, 20, 659, 160, 20000, 0});
    ASSERT_NE(player.LoadMelody(139), nullptr);
    sink.HoldAfter(5);
    player.StartMelody();
    ASSERT_TRUE(sink.WaitForPlays(6));
    player.Stop();
    EXPECT_EQ(sink.Plays(), (std::vector<Call>{Tone(1318, 600), Tone(1174, 200), Tone(659, 1600),
                                               Tone(20000, 0), Tone(1318, 600), Tone(1174, 200)}));
}

TEST_F(TonePlayerTest, MelodyGivesAnOddLastFrequencyLengthZero) {
    resources.AddWords(139, {500, 3, 600, 4, 700});
    ASSERT_NE(player.LoadMelody(139), nullptr);
    EXPECT_EQ(player.GetMelodyWordCount(), 5);
    sink.HoldAfter(3);
    player.StartMelody();
    ASSERT_TRUE(sink.WaitForPlays(4));
    player.Stop();
    EXPECT_EQ(sink.Plays(),
              (std::vector<Call>{Tone(500, 30), Tone(600, 40), Tone(700, 0), Tone(500, 30)}));
}

TEST_F(TonePlayerTest, MelodyIgnoresAnOddTrailingByte) {
    resources.Add(
        "RCDATA", 139,
        {std::byte{0x10}, std::byte{0x00}, std::byte{0x05}, std::byte{0x00}, std::byte{0x77}});
    ASSERT_NE(player.LoadMelody(139), nullptr);
    EXPECT_EQ(player.GetMelodyWordCount(), 2);
    EXPECT_EQ(player.GetMelodyWord(0), 16);
    EXPECT_EQ(player.GetMelodyWord(1), 5);
    EXPECT_EQ(player.GetMelodyWord(2), 0) << "the stray byte is not a word";
}

TEST_F(TonePlayerTest, MelodyWrapsLengthsInSixteenBits) {
    resources.AddWords(139, {1000, 6553, 1000, 6554, 1000, 65535});
    ASSERT_NE(player.LoadMelody(139), nullptr);
    sink.HoldAfter(2);
    player.StartMelody();
    ASSERT_TRUE(sink.WaitForPlays(3));
    player.Stop();
    EXPECT_EQ(sink.Plays(),
              (std::vector<Call>{Tone(1000, 65530), Tone(1000, 4), Tone(1000, 65526)}));
}

TEST_F(TonePlayerTest, MelodyPlaysAtMost1250Pairs) {
    std::vector<std::uint16_t> words;
    for (int pair = 0; pair < 1300; ++pair) {
        words.push_back(static_cast<std::uint16_t>(100 + pair));
        words.push_back(1);
    }
    resources.AddWords(139, words);
    ASSERT_NE(player.LoadMelody(139), nullptr);
    EXPECT_EQ(player.GetMelodyWordCount(), 2600);
    sink.HoldAfter(1251);
    player.StartMelody();
    ASSERT_TRUE(sink.WaitForPlays(1252));
    player.Stop();
    const std::vector<Call> plays = sink.Plays();
    EXPECT_EQ(plays[1249], Tone(100 + 1249, 10));
    EXPECT_EQ(plays[1250], Tone(100, 10)) << "pair 1250 and beyond are never played";
    EXPECT_EQ(plays[1251], Tone(101, 10));
}

TEST_F(TonePlayerTest, GetMelodyWordIsZeroOutsideTheMelody) {
    resources.AddWords(139, {0xBEEF, 0x1234});
    ASSERT_NE(player.LoadMelody(139), nullptr);
    EXPECT_EQ(player.GetMelodyWord(-1), 0);
    EXPECT_EQ(player.GetMelodyWord(0), 0xBEEF) << "words are little-endian";
    EXPECT_EQ(player.GetMelodyWord(1), 0x1234);
    EXPECT_EQ(player.GetMelodyWord(2), 0);
    EXPECT_EQ(player.GetMelodyWord(INT32_MIN), 0);
    EXPECT_EQ(player.GetMelodyWord(INT32_MAX), 0);
}

// --- Stop and switching players ---------------------------------------------------------------

TEST_F(TonePlayerTest, StopWithNothingPlayingStillSilences) {
    player.Stop();
    EXPECT_EQ(sink.Calls(), (std::vector<Call>{Call{true, 0, 0}}));
}

TEST_F(TonePlayerTest, StopCutsALongestToneAtOnceAndNothingPlaysAfterIt) {
    Sweep(16000, 20000, 32767, 10, 0);
    ASSERT_TRUE(sink.WaitForPlays(1));
    // The fake tone never ends by itself: Stop returns only by cutting it.
    std::future<void> stopped = std::async(std::launch::async, [&] { player.Stop(); });
    ASSERT_EQ(stopped.wait_for(10s), std::future_status::ready) << "Stop waited for the tone";
    EXPECT_FALSE(sink.Playing());
    EXPECT_FALSE(player.IsPlayerRunning()) << "no player is left that could play on";
    EXPECT_EQ(sink.Calls(),
              (std::vector<Call>{Call{true, 0, 0}, Tone(16000, 32767), Call{true, 0, 0}}));
}

TEST_F(TonePlayerTest, StartingOnePlayerEndsTheOtherAndRestartsFromTheBeginning) {
    resources.AddWords(139, {600, 5, 700, 5});
    ASSERT_NE(player.LoadMelody(139), nullptr);
    Sweep(1000, 2000, 5, 100, 2);
    ASSERT_TRUE(sink.WaitForPlays(3));
    player.StartMelody();  // ends the sweep held in its third tone
    sink.HoldAfter(4);
    ASSERT_TRUE(sink.WaitForPlays(5));
    player.StartSweep();  // ends the melody held in its second tone, sweep starts at the bottom
    sink.HoldAfter(6);
    ASSERT_TRUE(sink.WaitForPlays(7));
    player.Stop();
    const Call silence{true, 0, 0};
    EXPECT_EQ(sink.Calls(), (std::vector<Call>{silence, Tone(1000, 5), Tone(1100, 5), Tone(1200, 5),
                                               silence, Tone(600, 50), Tone(700, 50), silence,
                                               Tone(1000, 5), Tone(1100, 5), silence}));
}

}  // namespace
