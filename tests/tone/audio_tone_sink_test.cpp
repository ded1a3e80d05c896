#include "tone/audio_tone_sink.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
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
    void Silence() override {}
    void Drain(std::chrono::milliseconds) override {}
    void WaitUntilSounding(std::stop_token, std::chrono::milliseconds) override {}
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
    void Silence() override {}

private:
    Trail& m_trail;
};

TEST(AudioToneSinkTest, PlaysThroughTheOutputWhileOneOpensElseThroughTheFallback) {
    struct Case {
        const char* name;
        std::vector<bool> opens;  // what each attempt to open gives; later attempts fail
        int tonesBeforeFailing;   // of each output opened; -1: never fails
        std::chrono::milliseconds retryInterval;
        const char* expected;
    };
    const Case cases[] = {
        {"an output from the start", {true}, -1, 0ms, "OOOOO"},
        {"an output that comes later", {false, false, true}, -1, 0ms, "FOOOO"},
        {"no output, retries held back", {false, true}, -1, 1h, "FFFFF"},
        {"an output that fails and comes back", {true, false, true}, 2, 0ms, "OOFOO"},
        {"an output that fails for good", {true}, 2, 0ms, "OOFFF"},
        {"a failed output replaced at once", {true, true}, 2, 1h, "OOOOF"},
        {"a failed output not replaced, retries held back", {true, false, true}, 2, 1h, "OOFFF"},
    };
    for (const Case& test : cases) {
        Trail trail;
        std::size_t attempts = 0;
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
        EXPECT_EQ(trail.tones, test.expected) << test.name;
    }
}

}  // namespace
