#include "tone/wav_tone_sink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "base/interruptible_wait.h"
#include "tests/support/fake_resources.h"
#include "tests/support/memory_file_output.h"
#include "tests/support/scripted_prompt.h"
#include "tone/tone_player.h"

namespace {

std::uint16_t U16(const std::vector<char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

std::uint32_t U32(const std::vector<char>& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

using WavToneSinkTest = ::testing::Test;

// A player sweeping into a WAV file of `limit` frames, on an output with `room` bytes.
struct Render {
    Render(std::uint64_t limit, std::int32_t f1, std::int32_t f2, std::int32_t delay,
           std::int32_t step, std::size_t room = std::string::npos)
        : sink(writer, limit) {
        output.room = room;
        EXPECT_TRUE(player.SetParams(f1, f2, delay, step));
        player.StartSweep();
    }

    MemoryFileOutput output;
    WavWriter writer{output, 48000};
    WavToneSink sink;
    ScriptedPrompt prompt;
    FakeResources resources;
    CTonePlayer player{sink, prompt, resources};
};

TEST_F(WavToneSinkTest, RendersExactlyTheLimitOfTheSweepThenTheFadeOut) {
    const std::uint64_t limit = 48 * 37 * 10 + 100;  // ten tones and a bit of the eleventh
    Render r(limit, 16000, 17000, 37, 30);
    ASSERT_TRUE(r.sink.WaitUntilFull(std::stop_token()));
    r.player.Stop();
    EXPECT_FALSE(r.output.committed) << "the file appears only when complete";
    ASSERT_FALSE(r.sink.WriteFailed());
    ASSERT_TRUE(r.writer.Finish());

    // The same tones straight from the synthesiser, stopped at the same frame.
    ToneSynth synth;
    for (int k = 0; k < 11; ++k) synth.Queue(16000 + 30 * k, 37);
    std::vector<float> expected(limit);
    synth.Render(expected.data(), expected.size());
    synth.Stop();
    std::vector<float> tail(synth.FadeFrames());
    synth.Render(tail.data(), tail.size());
    expected.insert(expected.end(), tail.begin(), tail.end());

    const std::vector<char> bytes(r.output.bytes.begin(), r.output.bytes.end());
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
    const std::uint64_t limit = 48000;  // ten of the player's rests
    Render r(limit, 16000, 20000, 0, 10);
    ASSERT_TRUE(r.sink.WaitUntilFull(std::stop_token()));
    r.player.Stop();
    ASSERT_TRUE(r.writer.Finish());
    const std::string& bytes = r.output.bytes;
    ASSERT_EQ(bytes.size(), 44 + limit * 4);
    EXPECT_TRUE(std::all_of(bytes.begin() + 44, bytes.end(), [](char b) { return b == 0; }));

    // What a player that never played leaves: the same length of silence.
    MemoryFileOutput quiet;
    WavWriter quietWriter(quiet, 48000);
    WavToneSink quietSink(quietWriter, limit);
    quietSink.FillWithSilence();
    std::stop_source asked;
    asked.request_stop();
    EXPECT_TRUE(quietSink.WaitUntilFull(asked.get_token())) << "full at once";
    // A full file holds the player as a full queue would, until it is stopped.
    std::stop_source stop;
    const auto start = std::chrono::steady_clock::now();
    std::jthread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.request_stop();
    });
    quietSink.Rest(10, stop.get_token());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    ASSERT_TRUE(quietWriter.Finish());
    EXPECT_EQ(quiet.bytes, bytes);
}

// A full disk ends the render at once, however long it was to be, and the reason is kept.
TEST_F(WavToneSinkTest, TheFirstFailedWriteEndsTheRender) {
    Render r(48000ull * 20000, 16000, 20000, 500, 10, 100000);
    std::stop_source deadline;
    std::jthread timer([&](std::stop_token stop) {
        if (!WaitFor(stop, std::chrono::seconds(5))) deadline.request_stop();
    });
    EXPECT_TRUE(r.sink.WaitUntilFull(deadline.get_token())) << "still rendering after 5 s";
    r.player.Stop();
    EXPECT_TRUE(r.sink.WriteFailed());
    EXPECT_EQ(r.output.writes, 2) << "nothing is written after the failed write";
    EXPECT_FALSE(r.writer.Finish());
    EXPECT_EQ(r.writer.Error(), "No space left on device");
    EXPECT_FALSE(r.output.committed);
}

}  // namespace
