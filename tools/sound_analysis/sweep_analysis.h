#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tone/tone_synth.h"

struct MelodyNote {
    int hz;
    int ms;
};

// The sweep that was asked for: the same stepping as the tone engine, lengths in exact samples as
// the synthesiser cuts them. With a melody, its notes in order and over again take the place of
// the sweep's steps; a note of no length sounds for no time and is left out.
struct SweepPlan {
    int from = 16000, to = 20000, delayMs = 500, step = 10;
    std::vector<MelodyNote> melody{};
};

struct PlannedTone {
    double hz;
    std::int64_t start;  // frames after the first tone's start
    std::int64_t frames;
};

// Tones until the timeline reaches `frames`.
std::vector<PlannedTone> PlanSweep(const SweepPlan& plan, unsigned rate, std::int64_t frames);

struct JoinMeasure {
    std::int64_t at = 0;      // where the next tone begins, frames after the first tone's start
    std::int64_t offset = 0;  // found minus planned
    double phaseJump = 0;     // radians, |phase after - phase before| at the join
    double residualDb = 0;    // worst sample error of the two-tone model near the join, re level
    double lowBandDb = 0;     // energy below the cutoff around the join
};

// Limits each join is held to; one not given is not checked.
struct JoinLimits {
    std::optional<double> offset, phaseJump, residualDb;
};

// Joins that miss a limit: a phase jump, a discontinuity, or a place moved from where the join
// before left the sweep (a tone placed late moves every later join, and counts once).
std::size_t CountFaultyJoins(const std::vector<JoinMeasure>& joins, const JoinLimits& limits);

struct ToneMeasure {
    double plannedHz;
    double measuredHz;
    std::int64_t start;  // frames after the first tone's start
};

struct SweepReport {
    bool sound = false;
    std::int64_t onset = 0;  // sample where the first tone starts
    // How far the first join moved the start found from the first sound: a few samples when the
    // fade-in begins below the silence threshold; more means the first tone's length is wrong.
    std::int64_t onsetCorrection = 0;
    std::int64_t lastSound = 0;  // last sample above the silence threshold
    double heardSeconds = 0;     // first tone's start to the end of the fade-out
    double level = 0;            // median tone amplitude
    std::size_t tonesMeasured = 0;
    std::vector<ToneMeasure> tones;
    double worstFrequencyError = 0;  // Hz, signed, largest magnitude
    double worstFrequencyHz = 0;     // planned frequency of that tone
    std::vector<JoinMeasure> joins;
    std::int64_t worstJoinOffset = 0;
    double worstPhaseJump = 0;
    double worstResidualDb = -1e9;
    double worstJoinLowBandDb = -1e9;
    double startLowBandDb = 0;
    double stopLowBandDb = 0;
    std::int64_t stopAt = 0;  // where the fade-out begins, frames after the first tone's start
    std::size_t gaps = 0;     // dropouts of the envelope between start and stop
    double firstGapSeconds = 0;
    std::string problem;  // set when the recording cannot be analysed
};

struct SweepAnalysisOptions {
    unsigned fadeFrames = 192;  // the synthesiser's fade: 4 ms at 48 kHz
    double cutoffHz = 12000;
    // Half of the frequency glide centred on each join, as the synthesiser plays it.
    double glideHalfMs = ToneSynth::kGlideHalfMs;
    std::size_t leakWindow = 2048;
    float silence = 1e-6f;  // below -108 dB re the tone level of 0.25
};

SweepReport AnalyseSweep(std::span<const float> x, unsigned rate, const SweepPlan& plan,
                         const SweepAnalysisOptions& options = {});

// A stretch of sound between silences, as a stop and the next start leave them.
struct SoundSegment {
    std::int64_t begin = 0;  // first sample above the silence threshold
    std::int64_t end = 0;    // one past the last
    double startLowBandDb = 0;
    double stopLowBandDb = 0;
};

// Every stretch of sound set apart from the next by at least `minSilence` samples of silence,
// with the share of energy below the cutoff where it fades in and where it fades out.
std::vector<SoundSegment> FindSegments(std::span<const float> x, unsigned rate,
                                       std::int64_t minSilence,
                                       const SweepAnalysisOptions& options = {});
