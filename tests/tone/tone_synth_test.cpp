#include "tone/tone_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Renders sample by sample and notes the frame at which each queued tone began.
struct Rendering {
    std::vector<float> samples;
    std::vector<std::uint64_t> starts;
};

Rendering RenderAll(ToneSynth& synth, std::size_t frames) {
    Rendering r;
    r.samples.resize(frames);
    std::uint64_t started = synth.TonesStarted();
    for (std::size_t i = 0; i < frames; ++i) {
        synth.Render(&r.samples[i], 1);
        while (synth.TonesStarted() > started) {
            r.starts.push_back(i);
            ++started;
        }
    }
    return r;
}

// The frequency (cycles per sample) that a sequence of equally long tones should have at frame n:
// each tone's own, with a raised-cosine glide of `half` frames either side of every join.
double ExpectedIncrement(const std::vector<double>& hz, std::size_t toneFrames, std::size_t half,
                         std::size_t n) {
    const std::size_t k = n / toneFrames;
    const std::size_t into = n % toneFrames;
    double from = hz[k], to = hz[k], position = 0;
    if (into >= toneFrames - half && k + 1 < hz.size()) {
        to = hz[k + 1];
        position = static_cast<double>(into - (toneFrames - half));
    } else if (into < half && k > 0) {
        from = hz[k - 1];
        position = static_cast<double>(half + into);
    } else {
        return hz[k] / 48000;
    }
    const double shape = 0.5 - 0.5 * std::cos(std::numbers::pi * (position + 0.5) / (2.0 * half));
    return (from + (to - from) * shape) / 48000;
}

TEST(ToneSynth, ToneLengthsAreExactInSamplesWithFractionsCarried) {
    for (unsigned rate : {48000u, 44100u}) {
        ToneSynth synth(rate);
        const int tones = 2000;
        for (int k = 0; k < tones; ++k) synth.Queue(16000, 37);
        const std::uint64_t total = 37ull * tones * rate / 1000;
        const Rendering r = RenderAll(synth, total + 10);
        ASSERT_EQ(r.starts.size(), static_cast<std::size_t>(tones)) << rate;
        for (int k = 0; k < tones; ++k) {
            ASSERT_EQ(r.starts[k], 37ull * k * rate / 1000) << "tone " << k << " at " << rate;
        }
    }
}

TEST(ToneSynth, DefaultPassOf401TonesLastsExactly200Point5Seconds) {
    ToneSynth synth;
    for (int k = 0; k <= 400; ++k) synth.Queue(16000 + 10 * k, 500);
    const Rendering r = RenderAll(synth, 9624000 + 1);
    ASSERT_EQ(r.starts.size(), 401u);
    EXPECT_EQ(r.starts.back(), 400u * 24000);
    EXPECT_EQ(synth.FirstToneFrame(), 0u) << "the first tone stays the first";
    // The tail is the fade-out that follows the last tone.
    EXPECT_NE(r.samples[9624000 - 1], 0.0f);
}

// The speakers' promise: a tone of the sweep or of the melody peaks at about -12 dBFS
// (a quarter of full scale), never louder, whatever the pitch.
TEST(ToneSynth, TonesPeakAtAboutMinusTwelveDecibelsFullScale) {
    for (std::uint32_t hz : {440u, 16000u, 20000u}) {
        ToneSynth synth;
        synth.Queue(hz, 100);
        const Rendering r = RenderAll(synth, 100 * 48);
        // The sine's peak from its power over the tone's middle half (a 16 kHz tone has three
        // samples a cycle, none of them on the crest).
        double power = 0;
        for (std::size_t n = 25 * 48; n < 75 * 48; ++n) power += r.samples[n] * r.samples[n];
        const double dbfs = 20 * std::log10(std::sqrt(2 * power / (50 * 48)));
        EXPECT_GT(dbfs, -12.5) << hz << " Hz";
        EXPECT_LT(dbfs, -11.5) << hz << " Hz";
    }
}

TEST(ToneSynth, PhaseRunsOnAcrossJoinsOfToneLengthsThatAreNotWholeCycles) {
    // 16000 Hz + 30 Hz steps at 37 ms: no tone holds a whole number of cycles, so a phase reset or
    // a dropped sample at any join moves the wave away from the continuous reference. The last
    // step wraps down by 4 kHz, as the sweep does.
    ToneSynth synth;
    std::vector<double> hz;
    for (int k = 0; k < 60; ++k) hz.push_back(16000 + 30 * k);
    hz.push_back(20000);
    hz.push_back(16000);
    for (double f : hz) synth.Queue(static_cast<std::uint32_t>(f), 37);
    const std::size_t frames = 37 * 48 * hz.size();
    const Rendering r = RenderAll(synth, frames);
    ASSERT_EQ(synth.GlideHalfFrames(), 96u);

    double phase = 0;
    double worst = 0;
    for (std::size_t n = 0; n < frames; ++n) {
        if (n >= synth.FadeFrames()) {
            const double expected =
                ToneSynth::kDefaultLevel * std::sin(2 * std::numbers::pi * phase);
            worst = std::max(worst, std::abs(expected - r.samples[n]));
        }
        phase += ExpectedIncrement(hz, 37 * 48, 96, n);
        phase -= std::floor(phase);
    }
    EXPECT_LT(worst, 1e-5);
}

TEST(ToneSynth, GlidesOnlyBetweenAudibleTonesAndNeverLongerThanHalfATone) {
    // Tones of 2 ms (96 frames) leave room for glides of 48 frames either side of a join.
    ToneSynth synth;
    const std::vector<double> hz = {1000, 3000, 5000};
    for (double f : hz) synth.Queue(static_cast<std::uint32_t>(f), 2);
    synth.Queue(30000, 2);  // inaudible at 48 kHz: the wave fades out at 5000 Hz, no glide there
    const unsigned fade = synth.FadeFrames();
    const Rendering r = RenderAll(synth, 96 * 3 + fade + 10);
    double phase = 0;
    for (std::size_t n = 0; n < r.samples.size(); ++n) {
        double ramp = 1.0;
        if (n < fade) ramp = 0.5 - 0.5 * std::cos(std::numbers::pi * (n + 1) / fade);
        if (n >= 96 * 3) {
            const double left = n - 96 * 3 + 1.0 < fade ? fade - (n - 96 * 3 + 1.0) : 0.0;
            ramp = 0.5 - 0.5 * std::cos(std::numbers::pi * left / fade);
        }
        const double expected =
            ToneSynth::kDefaultLevel * ramp * std::sin(2 * std::numbers::pi * phase);
        ASSERT_NEAR(r.samples[n], expected, 1e-6) << n;
        phase += n < 96 * 3 ? ExpectedIncrement(hz, 96, 48, n) : 5000.0 / 48000;
    }
}

TEST(ToneSynth, FadesInFromSilenceWithARaisedCosineAndGlidesThroughJoinsAtFullLevel) {
    ToneSynth synth;
    synth.Queue(1000, 10);
    synth.Queue(1200, 10);
    const Rendering r = RenderAll(synth, 960);
    const unsigned fade = synth.FadeFrames();
    ASSERT_EQ(fade, 192u);  // 4 ms
    EXPECT_EQ(r.samples[0], 0.0f) << "sound starts at a zero crossing";
    double phase = 0;
    for (unsigned n = 0; n < 960; ++n) {
        const double ramp =
            n < fade ? 0.5 - 0.5 * std::cos(std::numbers::pi * (n + 1) / fade) : 1.0;
        const double expected =
            ToneSynth::kDefaultLevel * ramp * std::sin(2 * std::numbers::pi * phase);
        ASSERT_NEAR(r.samples[n], expected, 1e-6) << "frame " << n;
        phase += ExpectedIncrement({1000, 1200}, 480, 96, n);
    }
}

TEST(ToneSynth, StopFadesOutWithinTheFadeAndDropsWhatWasQueued) {
    ToneSynth synth;
    synth.Queue(1000, 500);
    synth.Queue(2000, 500);
    std::vector<float> block(4800);
    synth.Render(block.data(), block.size());
    synth.Stop();
    EXPECT_EQ(synth.TonesStarted(), 2u) << "dropped tones count as done so nobody waits for them";
    const unsigned fade = synth.FadeFrames();
    std::vector<float> tail(fade * 3);
    synth.Render(tail.data(), tail.size());
    EXPECT_TRUE(synth.Idle());
    for (unsigned n = 0; n < fade; ++n) {
        // The envelope only falls: each sample stays under the ramp's level at that point.
        const double ramp = 0.5 - 0.5 * std::cos(std::numbers::pi * (fade - 1 - n) / fade);
        EXPECT_LE(std::abs(tail[n]), ToneSynth::kDefaultLevel * ramp + 1e-6) << n;
    }
    for (std::size_t n = fade; n < tail.size(); ++n) ASSERT_EQ(tail[n], 0.0f) << n;
    // What comes after the stop keeps its own lengths.
    synth.Queue(1000, 10);
    synth.Queue(1000, 10);
    EXPECT_EQ(synth.LastQueuedStart(), 4800 + tail.size() + 480);
}

TEST(ToneSynth, RunsDryIntoAFadeAndFadesInAgainForTheNextTone) {
    ToneSynth synth;
    synth.Queue(1000, 10);
    std::vector<float> out(480 + 400);
    synth.Render(out.data(), out.size());
    EXPECT_TRUE(synth.Idle());
    EXPECT_NE(out[480 + 10], 0.0f) << "the fade-out follows the tone";
    EXPECT_EQ(out[480 + 200], 0.0f);
    synth.Queue(1000, 10);
    std::vector<float> again(2);
    synth.Render(again.data(), again.size());
    EXPECT_EQ(again[0], 0.0f) << "a new start begins silent and fades in";
}

TEST(ToneSynth, TonesItCannotSoundKeepTheirTimeAsSilence) {
    // Below the lowest beep, and at or above half the sample rate (which would alias); the
    // frequencies just inside those bounds sound.
    for (const auto& [hz, sounds] : {std::pair{0u, false},
                                     {36u, false},
                                     {37u, true},
                                     {23999u, true},
                                     {24000u, false},
                                     {32767u, false}}) {
        ToneSynth synth;
        synth.Queue(hz, 100);
        synth.Queue(1000, 10);
        const Rendering r = RenderAll(synth, 4800 + 10);
        ASSERT_EQ(r.starts.size(), 2u) << hz;
        EXPECT_EQ(r.starts[1], 4800u) << hz;
        const auto loud = std::find_if(r.samples.begin(), r.samples.begin() + 4800,
                                       [](float x) { return x != 0.0f; });
        EXPECT_EQ(loud != r.samples.begin() + 4800, sounds) << hz;
    }
}

TEST(ToneSynth, NeverExceedsItsModerateLevel) {
    ToneSynth synth;
    for (int k = 0; k < 50; ++k) synth.Queue(37 + 479 * k, 13);
    std::vector<float> out(48 * 13 * 50 + 500);
    synth.Render(out.data(), out.size());
    for (float s : out) ASSERT_LE(std::abs(s), ToneSynth::kDefaultLevel + 1e-6);
}

}  // namespace
