#include "tone/wav_tone_sink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/fake_resources.h"
#include "tests/support/scripted_prompt.h"
#include "tone/tone_player.h"

namespace {

namespace fs = std::filesystem;

std::vector<char> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint16_t U16(const std::vector<char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

std::uint32_t U32(const std::vector<char>& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

class WavToneSinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("drovane-wav-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(WavToneSinkTest, RendersExactlyTheLimitOfTheSweepThenTheFadeOut) {
    const fs::path file = dir / "sweep.wav";
    const std::uint64_t limit = 48 * 37 * 10 + 100;  // ten tones and a bit of the eleventh
    {
        WavWriter writer(file.string(), 48000);
        ASSERT_TRUE(writer.IsOpen());
        WavToneSink sink(writer, limit);
        ScriptedPrompt prompt;
        FakeResources resources;
        CTonePlayer player(sink, prompt, resources);
        std::int32_t f1 = 16000, f2 = 17000, delay = 37, step = 30;
        ASSERT_TRUE(player.SetParams(f1, f2, delay, step));
        player.StartSweep();
        ASSERT_TRUE(sink.WaitUntilFull(std::stop_token()));
        player.Stop();
        EXPECT_FALSE(fs::exists(file)) << "the file appears only when complete";
        ASSERT_FALSE(sink.WriteFailed());
        ASSERT_TRUE(writer.Finish());
    }

    // The same tones straight from the synthesiser, stopped at the same frame.
    ToneSynth synth;
    for (int k = 0; k < 11; ++k) synth.Queue(16000 + 30 * k, 37);
    std::vector<float> expected(limit);
    synth.Render(expected.data(), expected.size());
    synth.Stop();
    std::vector<float> tail(synth.FadeFrames());
    synth.Render(tail.data(), tail.size());
    expected.insert(expected.end(), tail.begin(), tail.end());

    const std::vector<char> bytes = ReadFile(file);
    ASSERT_EQ(bytes.size(), 44 + expected.size() * 4);
    EXPECT_EQ(std::string(bytes.data(), 4), "RIFF");
    EXPECT_EQ(U32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.data() + 8, 8), "WAVEfmt ");
    EXPECT_EQ(U32(bytes, 16), 16u) << "format chunk size";
    EXPECT_EQ(U16(bytes, 20), 3u) << "IEEE float";
    EXPECT_EQ(U16(bytes, 22), 1u) << "mono";
    EXPECT_EQ(U32(bytes, 24), 48000u) << "sample rate";
    EXPECT_EQ(U32(bytes, 28), 48000u * 4) << "byte rate";
    EXPECT_EQ(U16(bytes, 32), 4u) << "block align";
    EXPECT_EQ(U16(bytes, 34), 32u) << "bits per sample";
    EXPECT_EQ(std::string(bytes.data() + 36, 4), "data");
    EXPECT_EQ(U32(bytes, 40), expected.size() * 4);
    EXPECT_EQ(std::memcmp(bytes.data() + 44, expected.data(), expected.size() * 4), 0)
        << "the file holds exactly what the synthesiser plays";
}

TEST_F(WavToneSinkTest, ASweepOfTonesOfNoLengthFillsTheFileWithSilence) {
    const fs::path file = dir / "delay0.wav";
    const std::uint64_t limit = 48000;  // ten of the player's rests
    WavWriter writer(file.string(), 48000);
    ASSERT_TRUE(writer.IsOpen());
    WavToneSink sink(writer, limit);
    ScriptedPrompt prompt;
    FakeResources resources;
    CTonePlayer player(sink, prompt, resources);
    std::int32_t f1 = 16000, f2 = 20000, delay = 0, step = 10;
    ASSERT_TRUE(player.SetParams(f1, f2, delay, step));
    player.StartSweep();
    ASSERT_TRUE(sink.WaitUntilFull(std::stop_token()));
    player.Stop();
    ASSERT_TRUE(writer.Finish());
    const std::vector<char> bytes = ReadFile(file);
    ASSERT_EQ(bytes.size(), 44 + limit * 4);
    EXPECT_TRUE(std::all_of(bytes.begin() + 44, bytes.end(), [](char b) { return b == 0; }));
}

TEST_F(WavToneSinkTest, AnUnfinishedOrUnwritableFileLeavesNothingBehind) {
    {
        WavWriter writer((dir / "abandoned.wav").string(), 48000);
        ASSERT_TRUE(writer.IsOpen());
        const float samples[3] = {0.1f, 0.2f, 0.3f};
        ASSERT_TRUE(writer.Write(samples, 3));
    }
    EXPECT_TRUE(fs::is_empty(dir)) << "neither the file nor its temporary part may remain";

    // A finished file that cannot take its name (a folder has it) fails and leaves no part.
    fs::create_directories(dir / "taken.wav");
    {
        WavWriter blocked((dir / "taken.wav").string(), 48000);
        ASSERT_TRUE(blocked.IsOpen());
        const float samples[2] = {0.5f, -0.5f};
        ASSERT_TRUE(blocked.Write(samples, 2));
        EXPECT_FALSE(blocked.Finish());
    }
    EXPECT_TRUE(fs::is_directory(dir / "taken.wav"));
    EXPECT_TRUE(fs::is_empty(dir / "taken.wav"));
    EXPECT_FALSE(fs::exists(dir / "taken.wav.part"));
    fs::remove(dir / "taken.wav");

    WavWriter nowhere((dir / "missing" / "x.wav").string(), 48000);
    EXPECT_FALSE(nowhere.IsOpen());
    const float sample = 0;
    EXPECT_FALSE(nowhere.Write(&sample, 1));
    EXPECT_FALSE(nowhere.Finish());
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

}  // namespace
