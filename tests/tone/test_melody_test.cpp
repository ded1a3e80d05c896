#include "tone/test_melody.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <vector>

#include "res/embedded_resources.h"
#include "tests/support/recording_tone_sink.h"
#include "tests/support/scripted_prompt.h"
#include "tone/tone_player.h"

namespace {

struct Pair {
    std::uint16_t hz;
    std::uint16_t length;
    friend bool operator==(const Pair&, const Pair&) = default;
};

class TestMelodyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(player.LoadMelody(IDR_TEST_MELODY), nullptr);
        for (int i = 0; i + 1 < player.GetMelodyWordCount(); i += 2)
            pairs.push_back({player.GetMelodyWord(i), player.GetMelodyWord(i + 1)});
    }
    std::vector<Pair> Slice(std::size_t from, std::size_t count) const {
        return {pairs.begin() + from, pairs.begin() + from + count};
    }

    EmbeddedResources resources;
    RecordingToneSink sink;
    ScriptedPrompt prompt;
    CTonePlayer player{sink, prompt, resources};
    std::vector<Pair> pairs;
};

TEST_F(TestMelodyTest, Is292BytesOf73Pairs) {
    EXPECT_EQ(resources.Find(kResourceTypeRcData, IDR_TEST_MELODY).size(), 292u);
    EXPECT_EQ(player.GetMelodyWordCount(), 146);
    EXPECT_EQ(pairs.size(), 73u);
}

TEST_F(TestMelodyTest, HasTheTellingRows) {
    EXPECT_EQ(pairs[0], (Pair{1318, 60}));
    EXPECT_EQ(pairs[1], (Pair{1174, 20}));
    EXPECT_EQ(pairs[13], (Pair{659, 160}));
    EXPECT_EQ(pairs[71], (Pair{880, 140}));
    EXPECT_EQ(pairs[72], (Pair{20000, 0}));
}

TEST_F(TestMelodyTest, UsesOnlyTheNinePitchesAndTheSevenLengthsAndLasts22Point4Seconds) {
    const std::set<std::uint16_t> pitches = {587, 659, 698, 784, 880, 988, 1046, 1174, 1318};
    const std::set<std::uint16_t> lengths = {10, 20, 30, 40, 60, 140, 160};
    std::set<std::uint16_t> usedPitches, usedLengths;
    for (std::size_t i = 0; i < 72; ++i) {
        usedPitches.insert(pairs[i].hz);
        usedLengths.insert(pairs[i].length);
    }
    EXPECT_EQ(usedPitches, pitches);
    EXPECT_EQ(usedLengths, lengths);
    const int total = std::accumulate(pairs.begin(), pairs.end(), 0,
                                      [](int sum, const Pair& p) { return sum + p.length; });
    EXPECT_EQ(total, 2240);
}

TEST_F(TestMelodyTest, FallsIntoFourPhrasesWithTheirRepeats) {
    EXPECT_EQ(Slice(14, 14), Slice(0, 14)) << "the second phrase repeats the first";
    const std::vector<Pair> third = Slice(28, 21), fourth = Slice(49, 23);
    const auto [a, b] = std::mismatch(third.begin(), third.end(), fourth.begin());
    const auto shared = a - third.begin();
    EXPECT_GE(shared, 10) << "the fourth phrase repeats the third";
    EXPECT_LT(shared, 21) << "except for its ending";
}

TEST_F(TestMelodyTest, PlaysItsClosingPairAndStartsAgainAtOnce) {
    sink.HoldAfter(74);
    player.StartMelody();
    ASSERT_TRUE(sink.WaitForPlays(75));
    player.Stop();
    const auto plays = sink.Plays();
    EXPECT_EQ(plays[72], (RecordingToneSink::Call{false, 20000, 0}));
    EXPECT_EQ(plays[73], (RecordingToneSink::Call{false, 1318, 600}));
    EXPECT_EQ(plays[74], (RecordingToneSink::Call{false, 1174, 200}));
}

}  // namespace
