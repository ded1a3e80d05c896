// The rig's verdicts are only as good as its measurements: each case here builds a signal with a
// known fault and checks that the analysis sees it, and that a clean signal passes.
#include "tools/sound_analysis/sweep_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "tools/sound_analysis/spectrum.h"

namespace {

constexpr unsigned kRate = 48000;
constexpr double kLevel = 0.25;
constexpr unsigned kFade = 192;
constexpr std::int64_t kGlide = 96;

struct Faults {
    std::size_t resetPhaseAtTone = 0;  // tone index whose phase restarts at 0 (0 = none)
    std::size_t shortToneIndex = 0;    // tone index played one sample short (0 = none)
    std::int64_t firstToneShortBy = 0;
    std::size_t gapAt = 0, gapLength = 0;
    std::size_t spikeAt = 0;  // a sample pushed off its place (0 = none)
    double detuneHz = 0;      // added to the third tone
    bool hardEdges = false;
};

// An independent rendering of a sweep: phase carried across tones, a raised-cosine glide of the
// frequency over kGlide samples either side of each join, raised-cosine fades at both ends, then
// silence, all before and after `pad` zero samples.
std::vector<float> Render(const SweepPlan& plan, double seconds, const Faults& f = {},
                          std::size_t pad = 4800) {
    const auto frames = static_cast<std::int64_t>(seconds * kRate);
    std::vector<PlannedTone> tones = PlanSweep(plan, kRate, frames);
    std::vector<float> out(pad, 0.0f);
    double phase = 0;
    std::int64_t n = 0;
    for (std::size_t k = 0; k < tones.size() && n < frames; ++k) {
        std::int64_t length = tones[k].frames - (k == f.shortToneIndex && k > 0 ? 1 : 0) -
                              (k == 0 ? f.firstToneShortBy : 0);
        if (k == f.resetPhaseAtTone && k > 0) phase = 0;
        auto toneHz = [&](std::size_t j) { return tones[j].hz + (j == 2 ? f.detuneHz : 0); };
        for (std::int64_t i = 0; i < length && n < frames; ++i, ++n) {
            double hz = toneHz(k), from = hz, to = hz, position = -1;
            if (i >= length - kGlide && k + 1 < tones.size()) {
                to = toneHz(k + 1);
                position = static_cast<double>(i - (length - kGlide));
            } else if (i < kGlide && k > 0) {
                from = toneHz(k - 1);
                position = static_cast<double>(kGlide + i);
            }
            if (position >= 0) {
                hz = from + (to - from) * (0.5 - 0.5 * std::cos(std::numbers::pi *
                                                                (position + 0.5) / (2.0 * kGlide)));
            }
            double ramp = 1;
            if (!f.hardEdges && n < kFade)
                ramp = 0.5 - 0.5 * std::cos(std::numbers::pi * n / kFade);
            out.push_back(
                static_cast<float>(kLevel * ramp * std::sin(2 * std::numbers::pi * phase)));
            phase = std::fmod(phase + hz / kRate, 1.0);
        }
    }
    // Fade out from where the timeline stopped, at the last tone's frequency.
    const double lastHz = tones.empty() ? 0 : tones.back().hz;
    for (unsigned i = 1; i < kFade && !f.hardEdges; ++i) {
        const double ramp = 0.5 - 0.5 * std::cos(std::numbers::pi * (kFade - i) / kFade);
        out.push_back(static_cast<float>(kLevel * ramp * std::sin(2 * std::numbers::pi * phase)));
        phase = std::fmod(phase + lastHz / kRate, 1.0);
    }
    if (f.gapLength)
        std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(pad + f.gapAt), f.gapLength, 0.0f);
    if (f.spikeAt) out[pad + f.spikeAt] += 0.05f;
    out.insert(out.end(), pad, 0.0f);
    return out;
}

// Short tones whose joins never fall on whole cycles, so a phase fault cannot hide.
const SweepPlan kJoinPlan{16010, 20000, 37, 30};

TEST(SpectrumTest, MeasuresFrequencyFarFinerThanTheRigNeeds) {
    std::vector<float> x(24000);
    for (std::size_t n = 0; n < x.size(); ++n) {
        x[n] = static_cast<float>(kLevel * std::sin(2 * std::numbers::pi * 17123.4 * n / kRate));
    }
    Spectrum s(x, kRate);
    EXPECT_NEAR(s.PeakFrequency(100, 23000), 17123.4, 1e-3);
    EXPECT_NEAR(std::abs(s.Amplitude(100, 4096, 17123.4, 0)), kLevel, 1e-6);
}

TEST(SpectrumTest, OwnLeakageFloorIsFarBelowTheLimitsAndClicksShow) {
    std::vector<float> steady(8192), click(8192, 0.0f);
    for (std::size_t n = 0; n < steady.size(); ++n) {
        steady[n] =
            static_cast<float>(kLevel * std::sin(2 * std::numbers::pi * 16000.0 * n / kRate + 0.3));
        if (n >= 4096) click[n] = steady[n];  // starts at full level, with no fade
    }
    Spectrum a(steady, kRate), b(click, kRate);
    EXPECT_LT(a.LowBandShareDb(4096, 2048, 12000), -120.0);
    EXPECT_GT(b.LowBandShareDb(4096, 2048, 12000), -60.0);
}

TEST(SweepAnalysisTest, CleanSweepPassesEveryMeasure) {
    const std::vector<float> x = Render(kJoinPlan, 1.0);
    const SweepReport r = AnalyseSweep(x, kRate, kJoinPlan);
    ASSERT_TRUE(r.problem.empty()) << r.problem;
    EXPECT_EQ(r.onset, 4800);
    EXPECT_NEAR(r.heardSeconds, 1.0 + (kFade - 1.0) / kRate, 2.0 / kRate);
    EXPECT_NEAR(r.level, kLevel, 1e-5);
    EXPECT_GE(r.joins.size(), 25u);
    EXPECT_EQ(r.worstJoinOffset, 0);
    EXPECT_LT(r.worstPhaseJump, 1e-5);
    EXPECT_LT(r.worstResidualDb, -120.0);
    EXPECT_LT(std::abs(r.worstFrequencyError), 1e-3);
    EXPECT_LT(r.startLowBandDb, -90.0);
    EXPECT_EQ(r.gaps, 0u);
}

TEST(SweepAnalysisTest, PhaseResetAtAJoinIsCaught) {
    Faults f;
    f.resetPhaseAtTone = 5;
    const SweepReport r = AnalyseSweep(Render(kJoinPlan, 1.0, f), kRate, kJoinPlan);
    // Near a small step a phase error and a time error look alike; either way the join fails.
    EXPECT_TRUE(r.worstPhaseJump > 0.1 || r.worstResidualDb > -40.0)
        << r.worstPhaseJump << " rad, " << r.worstResidualDb << " dB";
    EXPECT_GT(r.worstJoinLowBandDb, -60.0);
}

TEST(SweepAnalysisTest, GlitchAtAJoinIsCaught) {
    Faults f;
    f.spikeAt = 7 * 1776 + 1;  // just after the seventh join
    const SweepReport r = AnalyseSweep(Render(kJoinPlan, 1.0, f), kRate, kJoinPlan);
    EXPECT_GT(r.worstResidualDb, -20.0);
    EXPECT_LT(r.worstPhaseJump, 1e-3);
}

TEST(SweepAnalysisTest, LostSampleShowsAsAJoinOffset) {
    Faults f;
    f.shortToneIndex = 4;
    const SweepReport r = AnalyseSweep(Render(kJoinPlan, 1.0, f), kRate, kJoinPlan);
    EXPECT_EQ(r.worstJoinOffset, -1);
    EXPECT_EQ(r.joins.back().offset, -1);
}

TEST(SweepAnalysisTest, FaultyJoinsCountEachFaultOnce) {
    struct Case {
        const char* what;
        Faults faults;
        std::size_t faulty;
    };
    const Case cases[] = {
        {"clean", {}, 0},
        // One sample lost moves every later join: one fault, not all of them.
        {"lost sample", {.shortToneIndex = 4}, 1},
        {"glitch after a join", {.spikeAt = 7 * 1776 + 1}, 1},
    };
    for (const Case& c : cases) {
        const SweepReport r = AnalyseSweep(Render(kJoinPlan, 1.0, c.faults), kRate, kJoinPlan);
        EXPECT_EQ(CountFaultyJoins(r.joins, {0, 0.01, -60}), c.faulty) << c.what;
    }
}

TEST(SweepAnalysisTest, ShortFirstToneIsNotTakenForALateStart) {
    Faults f;
    f.firstToneShortBy = 40;
    const SweepReport r = AnalyseSweep(Render(kJoinPlan, 1.0, f), kRate, kJoinPlan);
    EXPECT_EQ(r.onsetCorrection, -40);
    EXPECT_EQ(AnalyseSweep(Render(kJoinPlan, 1.0), kRate, kJoinPlan).onsetCorrection, 0);
}

TEST(SweepAnalysisTest, DropoutsLongAndShortAreCounted) {
    Faults f;
    f.gapAt = 10000;
    f.gapLength = 4;  // under 0.1 ms
    EXPECT_EQ(AnalyseSweep(Render(kJoinPlan, 1.0, f), kRate, kJoinPlan).gaps, 1u);
    f.gapLength = 480;
    const SweepReport r = AnalyseSweep(Render(kJoinPlan, 1.0, f), kRate, kJoinPlan);
    EXPECT_EQ(r.gaps, 1u);
    EXPECT_NEAR(r.firstGapSeconds, 10000.0 / kRate, 0.002);
}

// A stalled Wine Pulse driver plays silence, then the sound it was given: Wine 8 in one piece;
// Wine 10 in turns, losing some. Either is one dropout, and the tones after it are found again.
TEST(SweepAnalysisTest, DriverStallIsOneDropoutAndTheTonesAfterItAreFollowed) {
    const SweepPlan plan;  // 500 ms tones
    const auto at = [](std::vector<float>& x, std::int64_t n) { return x.begin() + 4800 + n; };
    std::vector<float> wine8 = Render(plan, 3.0), wine10 = wine8, starved = wine8;
    wine8.insert(at(wine8, 30000), 1680, 0.0f);
    wine10.erase(at(wine10, 30015), at(wine10, 30215));
    wine10.insert(at(wine10, 30015), 706, 0.0f);
    wine10.insert(at(wine10, 30000), 960, 0.0f);
    for (std::int64_t n = 60000; n > 0; n -= 12000) starved.insert(at(starved, n), 480, 0.0f);
    for (const std::vector<float>* x : {&wine8, &wine10}) {
        const SweepReport r = AnalyseSweep(*x, kRate, plan);
        EXPECT_EQ(r.gaps, 1u);
        EXPECT_GE(r.tonesMeasured, 4u);  // all but the tone the dropout lies in
        EXPECT_LT(std::abs(r.worstFrequencyError), 0.01);
    }
    EXPECT_EQ(AnalyseSweep(starved, kRate, plan).gaps, 5u);  // a program that runs dry itself
}

TEST(SweepAnalysisTest, DetunedToneIsReportedWithItsError) {
    Faults f;
    f.detuneHz = 0.6;
    const SweepPlan plan;  // default 500 ms tones
    const SweepReport r = AnalyseSweep(Render(plan, 2.0, f), kRate, plan);
    EXPECT_NEAR(r.worstFrequencyError, 0.6, 0.01);
    EXPECT_EQ(r.worstFrequencyHz, 16020.0);
}

TEST(SweepAnalysisTest, StartWithoutFadeLeaks) {
    Faults f;
    f.hardEdges = true;
    const SweepReport r = AnalyseSweep(Render(SweepPlan{}, 1.0, f), kRate, SweepPlan{});
    EXPECT_GT(r.startLowBandDb, -60.0);
    EXPECT_GT(r.stopLowBandDb, -60.0);
}

TEST(SweepAnalysisTest, MelodyIsHeardNoteByNoteAndANoteOutOfOrderIsNot) {
    // A note of no length sounds for no time; the melody then starts again.
    const SweepPlan played{.melody = {{1318, 120}, {1174, 40}, {20000, 0}, {880, 60}}};
    SweepPlan swapped = played;
    std::swap(swapped.melody[0], swapped.melody[1]);
    const std::vector<float> x = Render(played, 0.5);
    const SweepReport r = AnalyseSweep(x, kRate, played);
    ASSERT_TRUE(r.problem.empty()) << r.problem;
    EXPECT_EQ(r.tonesMeasured, 7u);
    EXPECT_EQ(r.joins.size(), 5u);
    EXPECT_LT(std::abs(r.worstFrequencyError), 1e-3);
    EXPECT_EQ(r.worstJoinOffset, 0);
    EXPECT_GT(std::abs(AnalyseSweep(x, kRate, swapped).worstFrequencyError), 100.0);
}

TEST(SweepAnalysisTest, SilenceIsAProblemNotAPass) {
    const std::vector<float> x(48000, 0.0f);
    const SweepReport r = AnalyseSweep(x, kRate, SweepPlan{});
    EXPECT_FALSE(r.sound);
    EXPECT_FALSE(r.problem.empty());
}

TEST(FindSegments, FindsEachStretchOfSoundAndTheClickOfAHardStartOrStop) {
    const SweepPlan plan;
    std::vector<float> x = Render(plan, 0.3, {}, 4800);
    const std::size_t secondAt = x.size() + 4800;
    const std::vector<float> hard = Render(plan, 0.2, Faults{.hardEdges = true}, 4800);
    x.insert(x.end(), hard.begin(), hard.end());
    const std::vector<SoundSegment> segments = FindSegments(x, kRate, 2400);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_NEAR(static_cast<double>(segments[0].begin), 4800, 2);
    EXPECT_NEAR(static_cast<double>(segments[0].end), 4800 + 0.3 * kRate + kFade, 2);
    EXPECT_NEAR(static_cast<double>(segments[1].begin), static_cast<double>(secondAt), 2);
    EXPECT_LT(segments[0].startLowBandDb, -90);
    EXPECT_LT(segments[0].stopLowBandDb, -90);
    EXPECT_GT(segments[1].startLowBandDb, -60) << "a start without a fade clicks";
    EXPECT_GT(segments[1].stopLowBandDb, -60) << "so does a stop";
    EXPECT_EQ(FindSegments(x, kRate, 48000).size(), 1u) << "a shorter silence joins them";
}

}  // namespace
