#include "tone/audio_tone_sink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tone/sound_output.h"

namespace {

using namespace std::chrono_literals;

// Notes where each tone went: 'O' an output, 'F' the fallback.
struct Trail {
    std::string tones;
};

class NotingOutput final : public SoundOutput {
public:
    NotingOutput(Trail& trail, int tonesBeforeFailing)
        : m_trail(trail), m_left(tonesBeforeFailing) {}
    void Play(std::uint32_t, std::uint32_t, std::stop_token) override {
        m_trail.tones += 'O';
        --m_left;
    }
    void Silence() override { m_trail.tones += 's'; }
    void Drain(std::chrono::milliseconds) override {}
    void WaitUntilSounding(std::stop_token, std::chrono::milliseconds) override {
        m_trail.tones += 'w';
    }
    bool Failed() const override { return m_left == 0; }
    std::string Name() const override { return "noting"; }

private:
    Trail& m_trail;
    int m_left;
};

class NotingFallback final : public ToneSink {
public:
    explicit NotingFallback(Trail& trail) : m_trail(trail) {}
    void Play(std::uint32_t, std::uint32_t, std::stop_token) override { m_trail.tones += 'F'; }
    void Silence() override { m_trail.tones += 'S'; }

private:
    Trail& m_trail;
};

// What the sink tells on standard error, a letter a line: 'C' it cannot open an output ('c' when
// one had failed before), 'B' an output is back.
std::string Told(const std::string& err) {
    std::string told;
    std::string_view rest = err;
    while (!rest.empty()) {
        const std::string_view line = rest.substr(0, rest.find('\n'));
        rest.remove_prefix(std::min(rest.size(), line.size() + 1));
        told += line.starts_with("drovane: cannot open sound output (the ") ? 'c'
                : line.starts_with("drovane: cannot open sound output (")   ? 'C'
                : line.starts_with("drovane: sound output is back (noting") ? 'B'
                                                                            : '?';
    }
    return told;
}

TEST(AudioToneSinkTest, PlaysThroughTheOutputWhileOneOpensElseThroughTheFallback) {
    struct Case {
        const char* name;
        std::vector<bool> opens;  // what each attempt to open gives; later attempts fail
        int tonesBeforeFailing;   // of each output opened; -1: never fails
        std::chrono::milliseconds retryInterval;
        const char* expected;
        const char* told;
    };
    const Case cases[] = {
        {"an output from the start", {true}, -1, 0ms, "OOOOO", ""},
        {"an output that comes later", {false, false, true}, -1, 0ms, "FOOOO", "CB"},
        {"no output, retries held back", {false, true}, -1, 1h, "FFFFF", "C"},
        {"an output that fails and comes back", {true, false, true}, 2, 0ms, "OOFOO", "cB"},
        {"an output that fails for good", {true}, 2, 0ms, "OOFFF", "c"},
        {"an output back that fails again", {true, false, true, false}, 1, 0ms, "OFOFF", "cBc"},
        {"a failed output replaced at once", {true, true}, 2, 1h, "OOOOF", ""},
        {"a failed output not replaced, retries held back",
         {true, false, true},
         2,
         1h,
         "OOFFF",
         "c"},
        {"a replacement that fails at once too, retries held back",
         {true, true, true},
         1,
         1h,
         "OOFFF",
         ""},
    };
    for (const Case& test : cases) {
        Trail trail;
        std::size_t attempts = 0;
        testing::internal::CaptureStderr();
        AudioToneSink sink(
            [&](std::string& why) -> std::unique_ptr<SoundOutput> {
                const bool opens = attempts < test.opens.size() && test.opens[attempts];
                ++attempts;
                if (!opens) why = "none here";
                if (!opens) return nullptr;
                return std::make_unique<NotingOutput>(trail, test.tonesBeforeFailing);
            },
            std::make_unique<NotingFallback>(trail), test.retryInterval);
        for (int tone = 0; tone < 5; ++tone) sink.Play(16000, 500, {});
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(trail.tones, test.expected) << test.name;
        EXPECT_EQ(Told(err), test.told) << test.name << ":\n" << err;
    }
}

// Silence reaches the output and the fallback both ('s' and 'S'): the fallback may still sound the
// tone it played before the output came. A wait for the sound reaches the output ('w').
TEST(AudioToneSinkTest, SilenceReachesTheOutputAndTheFallback) {
    for (const bool opens : {true, false}) {
        Trail trail;
        AudioToneSink sink(
            [&](std::string&) -> std::unique_ptr<SoundOutput> {
                if (!opens) return nullptr;
                return std::make_unique<NotingOutput>(trail, -1);
            },
            std::make_unique<NotingFallback>(trail), 1h);
        sink.Silence();
        sink.WaitUntilSounding({}, 1h);
        EXPECT_EQ(trail.tones, opens ? "sSw" : "S");
    }
}

// With neither an output nor a fallback a tone still takes its length on the clock, as a rest
// does, and a stop ends either early.
TEST(AudioToneSinkTest, WithNothingToPlayThroughATonesTimeIsKept) {
    using Clock = std::chrono::steady_clock;
    for (const bool rest : {false, true}) {
        for (const bool stopped : {false, true}) {
            AudioToneSink sink([](std::string&) { return nullptr; }, nullptr, 1h);
            std::stop_source stop;
            std::jthread stopper([&] {
                std::this_thread::sleep_for(50ms);
                if (stopped) stop.request_stop();
            });
            const auto start = Clock::now();
            if (rest) {
                sink.Rest(300, stop.get_token());
            } else {
                sink.Play(16000, 300, stop.get_token());
            }
            const auto took = Clock::now() - start;
            if (stopped) {
                EXPECT_LT(took, 250ms) << rest;
            } else {
                EXPECT_GE(took, 300ms) << rest;
            }
        }
    }
}

}  // namespace
