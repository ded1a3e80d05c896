#include "tone/sounding_tone_sink.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Tone = std::pair<std::uint32_t, std::uint32_t>;

// Keeps the tones that reach the hook.
class ToneKeeper final : public SoundingToneSink {
public:
    void Silence() override {}
    std::vector<Tone> sounded;

private:
    void PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token) override {
        sounded.emplace_back(hz, ms);
    }
};

TEST(SoundingToneSinkTest, SoundsOnlyTonesOfSomeLengthForAPlayerNotStopped) {
    struct Case {
        std::uint32_t hz;
        std::uint32_t ms;
        bool stopped;
        bool sounded;
    };
    const Case cases[] = {
        {16000, 500, false, true}, {16000, 1, false, true},
        {0, 100, false, true},  // silence that takes its time, as a rest in a WAV file
        {16000, 0, false, false},  {0, 0, false, false},
        {16000, 500, true, false}, {16000, 0, true, false},
    };
    for (const Case& test : cases) {
        ToneKeeper sink;
        std::stop_source stop;
        if (test.stopped) stop.request_stop();
        sink.Play(test.hz, test.ms, stop.get_token());
        const std::vector<Tone> expected =
            test.sounded ? std::vector<Tone>{{test.hz, test.ms}} : std::vector<Tone>{};
        EXPECT_EQ(sink.sounded, expected)
            << test.hz << " Hz, " << test.ms << " ms" << (test.stopped ? ", stopped" : "");
    }
}

}  // namespace
