#include "tools/sound_analysis/sweep_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "tools/sound_analysis/spectrum.h"

namespace {

std::vector<PlannedTone> PlanMelody(const std::vector<MelodyNote>& melody, unsigned rate,
                                    std::int64_t frames) {
    std::vector<PlannedTone> tones;
    if (std::none_of(melody.begin(), melody.end(), [](const MelodyNote& n) { return n.ms > 0; }))
        return tones;
    std::int64_t ms = 0, end = 0;
    for (std::size_t k = 0; end < frames; k = (k + 1) % melody.size()) {
        if (melody[k].ms <= 0) continue;
        ms += melody[k].ms;
        const std::int64_t next = ms * rate / 1000;
        tones.push_back({static_cast<double>(melody[k].hz), end, next - end});
        end = next;
    }
    return tones;
}

}  // namespace

std::vector<PlannedTone> PlanSweep(const SweepPlan& plan, unsigned rate, std::int64_t frames) {
    if (!plan.melody.empty()) return PlanMelody(plan.melody, rate, frames);
    std::vector<PlannedTone> tones;
    if (plan.from <= 0 || plan.to <= 0 || plan.step <= 0 || plan.delayMs <= 0) return tones;
    int hz = plan.from;
    std::int64_t ms = 0, end = 0;
    while (end < frames) {
        ms += plan.delayMs;
        const std::int64_t next = ms * rate / 1000;
        tones.push_back({static_cast<double>(hz), end, next - end});
        end = next;
        hz += plan.step;
        if (hz > plan.to) hz = plan.from;
    }
    return tones;
}

namespace {

constexpr std::int64_t kSearch = 48;  // how far a join may lie from where it is expected
constexpr std::size_t kFitMax = 4096;

double Db(double ratio) { return 20.0 * std::log10(std::max(ratio, 1e-30)); }

double WrapPhase(double a) { return std::remainder(a, 2.0 * std::numbers::pi); }

struct JoinFit {
    std::int64_t at;
    double phaseJump;
    double residual;
};

// Fits both tones away from the join and its glide, then places the join where the two fitted
// sinusoids' phase lines meet. A glide centred on the join leaves the phase exactly where an
// instant change would have put it, so the next tone continues on the same phase line; the
// samples in between must follow the glide to float precision.
JoinFit FitJoin(Spectrum& s, std::int64_t expected, const PlannedTone& a, const PlannedTone& b,
                std::int64_t aBegin, std::int64_t bEnd, std::int64_t glide) {
    const std::int64_t margin = kSearch + glide;
    const std::int64_t aEnd = expected - margin, bBegin = expected + margin;
    const std::size_t aLen =
        static_cast<std::size_t>(std::min<std::int64_t>(kFitMax, aEnd - aBegin));
    const std::size_t bLen =
        static_cast<std::size_t>(std::min<std::int64_t>(kFitMax, bEnd - bBegin));
    const double ref = static_cast<double>(expected);
    const std::complex<double> ca =
        s.Amplitude(aEnd - static_cast<std::int64_t>(aLen), aLen, a.hz, ref);
    const std::complex<double> cb = s.Amplitude(bBegin, bLen, b.hz, ref);
    const double wa = 2 * std::numbers::pi * a.hz / s.Rate(),
                 wb = 2 * std::numbers::pi * b.hz / s.Rate();

    const double amplitude = 0.5 * (std::abs(ca) + std::abs(cb));

    // Plays the model through a join placed at `at`: tone a, the glide, then tone b. Returns the
    // worst sample error and the phase step between the glide's end and tone b.
    struct Trial {
        double squares = 0;
        double residual = 0;
        double phaseJump = 0;
    };
    auto trial = [&](std::int64_t at) {
        Trial t;
        double glidePhase = std::arg(ca) + wa * (at - glide - ref);
        for (std::int64_t n = at - glide - kSearch; n < at + glide + kSearch; ++n) {
            double phase;
            if (n < at - glide) {
                phase = std::arg(ca) + wa * (n - ref);
            } else if (n >= at + glide) {
                phase = std::arg(cb) + wb * (n - ref);
            } else {
                phase = glidePhase;
                const double shape = 0.5 - 0.5 * std::cos(std::numbers::pi *
                                                          (n - (at - glide) + 0.5) / (2.0 * glide));
                glidePhase += wa + (wb - wa) * shape;
            }
            const double e = s.At(n) - amplitude * std::cos(phase);
            t.squares += e * e;
            t.residual = std::max(t.residual, std::abs(e));
        }
        t.phaseJump = std::abs(WrapPhase(glidePhase - std::arg(cb) - wb * (at + glide - ref)));
        return t;
    };
    // The join is where the model fits best, in the least-squares sense so that one bad sample
    // does not move it.
    std::int64_t at = expected;
    Trial best = trial(at);
    for (std::int64_t n = expected - kSearch; n <= expected + kSearch; ++n) {
        const Trial t = trial(n);
        if (t.squares < best.squares) {
            best = t;
            at = n;
        }
    }
    return {at, best.phaseJump, best.residual};
}

}  // namespace

SweepReport AnalyseSweep(std::span<const float> x, unsigned rate, const SweepPlan& plan,
                         const SweepAnalysisOptions& options) {
    SweepReport r;
    const auto loud = [&](float v) { return std::abs(v) > options.silence; };
    const auto first = std::find_if(x.begin(), x.end(), loud);
    if (first == x.end()) {
        r.problem = "no sound in the recording";
        return r;
    }
    r.sound = true;
    const auto last = std::find_if(x.rbegin(), x.rend(), loud);
    // A fresh start begins at a zero crossing, so the first sample above silence is the second.
    r.onset = std::max<std::int64_t>(0, (first - x.begin()) - 1);
    r.lastSound = static_cast<std::int64_t>(x.rend() - last) - 1;
    r.heardSeconds = static_cast<double>(r.lastSound + 1 - r.onset) / rate;
    const std::int64_t fade = options.fadeFrames;
    // The fade-out starts where the stop came.
    r.stopAt = r.lastSound + 1 - fade - r.onset;

    Spectrum s(x, rate);
    const auto glideHalf =
        static_cast<std::int64_t>(std::lround(options.glideHalfMs * rate / 1000));
    const std::vector<PlannedTone> tones = PlanSweep(plan, rate, r.stopAt + 1);
    if (tones.empty()) {
        r.problem = "the sweep parameters give no tones";
        return r;
    }
    r.startLowBandDb = s.LowBandShareDb(r.onset + fade / 2, options.leakWindow, options.cutoffHz);
    r.stopLowBandDb =
        s.LowBandShareDb(r.onset + r.stopAt + fade / 2, options.leakWindow, options.cutoffHz);

    // Joins, each looked for where the previous one was found plus the planned tone length, so
    // that drift is followed and measured rather than lost.
    std::int64_t toneStart = r.onset;  // absolute, as found
    std::vector<double> amplitudes;
    for (std::size_t k = 0; k + 1 < tones.size(); ++k) {
        const std::int64_t expected = toneStart + tones[k].frames;
        const std::int64_t aBegin = toneStart + (k == 0 ? fade : 0) + kSearch;
        const std::int64_t bEnd = expected + tones[k + 1].frames - kSearch;
        const std::int64_t stopAbs = r.onset + r.stopAt;
        if (bEnd > stopAbs || expected - kSearch - glideHalf - aBegin < 64 ||
            bEnd - expected - kSearch - glideHalf < 64)
            break;
        const std::int64_t glide =
            std::min({glideHalf, tones[k].frames / 2, tones[k + 1].frames / 2});
        const JoinFit fit = FitJoin(s, expected, tones[k], tones[k + 1], aBegin, bEnd, glide);
        JoinMeasure j;
        j.at = fit.at - r.onset;
        j.offset = j.at - tones[k + 1].start;
        j.phaseJump = fit.phaseJump;
        j.residualDb = fit.residual;  // made relative once the level is known
        j.lowBandDb = s.LowBandShareDb(fit.at, options.leakWindow, options.cutoffHz);
        r.joins.push_back(j);
        toneStart = fit.at;
    }
    // The first join tells where the first tone really started, to the sample.
    if (!r.joins.empty() && r.joins.front().offset != 0) {
        const std::int64_t shift = r.joins.front().offset;
        r.onsetCorrection = shift;
        r.onset += shift;
        r.stopAt -= shift;
        r.heardSeconds = static_cast<double>(r.lastSound + 1 - r.onset) / rate;
        for (JoinMeasure& j : r.joins) {
            j.at -= shift;
            j.offset -= shift;
        }
    }

    // Frequency and level of every tone that sounds long enough, away from its edges. A tone
    // starts where its join was found: one placed late, or sound lost before it, moves the
    // tones after it, which are measured where they are.
    for (std::size_t k = 0; k < tones.size(); ++k) {
        const std::int64_t moved =
            k > 0 && !r.joins.empty() ? r.joins[std::min(k, r.joins.size()) - 1].offset : 0;
        const std::int64_t start = tones[k].start + moved;
        const std::int64_t begin = r.onset + start + (k == 0 ? fade : 0) + kSearch + glideHalf;
        const std::int64_t end =
            std::min(r.onset + start + tones[k].frames, r.onset + r.stopAt) - kSearch - glideHalf;
        if (end - begin < 256) continue;
        const std::size_t len = static_cast<std::size_t>(end - begin);
        const double f = s.PeakFrequency(begin, len);
        const double err = f - tones[k].hz;
        r.tones.push_back({tones[k].hz, f, tones[k].start});
        if (r.tonesMeasured == 0 || std::abs(err) > std::abs(r.worstFrequencyError)) {
            r.worstFrequencyError = err;
            r.worstFrequencyHz = tones[k].hz;
        }
        amplitudes.push_back(
            std::abs(s.Amplitude(begin, len, tones[k].hz, static_cast<double>(begin))));
        ++r.tonesMeasured;
    }
    if (!amplitudes.empty()) {
        std::nth_element(amplitudes.begin(), amplitudes.begin() + amplitudes.size() / 2,
                         amplitudes.end());
        r.level = amplitudes[amplitudes.size() / 2];
    }
    for (JoinMeasure& j : r.joins) {
        j.residualDb = r.level > 0 ? Db(j.residualDb / r.level) : 0;
        r.worstPhaseJump = std::max(r.worstPhaseJump, j.phaseJump);
        r.worstResidualDb = std::max(r.worstResidualDb, j.residualDb);
        r.worstJoinLowBandDb = std::max(r.worstJoinLowBandDb, j.lowBandDb);
        if (std::abs(j.offset) > std::abs(r.worstJoinOffset)) r.worstJoinOffset = j.offset;
    }

    // Dropouts: 2 ms blocks whose RMS falls 6 dB under the level, between the fades.
    const std::int64_t block = rate / 500;
    const double floorRms = r.level / std::sqrt(2.0) / 2.0;
    bool inGap = false;
    for (std::int64_t b = r.onset + fade; b + block <= r.onset + r.stopAt; b += block / 2) {
        double sum = 0;
        for (std::int64_t n = b; n < b + block; ++n) sum += static_cast<double>(s.At(n)) * s.At(n);
        const bool low = std::sqrt(sum / block) < floorRms;
        if (low && !inGap) {
            if (r.gaps == 0) r.firstGapSeconds = static_cast<double>(b - r.onset) / rate;
            ++r.gaps;
        }
        inGap = low;
    }
    // Shorter dropouts: a tone of 37 Hz or more never rests at zero for three samples running.
    std::int64_t quiet = 0;
    for (std::int64_t n = r.onset + fade; n < r.onset + r.stopAt; ++n) {
        quiet = std::abs(s.At(n)) <= options.silence ? quiet + 1 : 0;
        if (quiet == 3) {
            if (r.gaps == 0 || static_cast<double>(n - r.onset) / rate < r.firstGapSeconds) {
                r.firstGapSeconds = static_cast<double>(n - 2 - r.onset) / rate;
            }
            ++r.gaps;
        }
    }
    return r;
}

std::vector<SoundSegment> FindSegments(std::span<const float> x, unsigned rate,
                                       std::int64_t minSilence,
                                       const SweepAnalysisOptions& options) {
    std::vector<SoundSegment> segments;
    const auto n = static_cast<std::int64_t>(x.size());
    std::int64_t quiet = minSilence;
    for (std::int64_t i = 0; i < n; ++i) {
        if (std::abs(x[i]) <= options.silence) {
            ++quiet;
            continue;
        }
        if (quiet >= minSilence || segments.empty()) segments.push_back({i, i + 1});
        segments.back().end = i + 1;
        quiet = 0;
    }
    Spectrum s(x, rate);
    const std::int64_t half = options.fadeFrames / 2;
    for (SoundSegment& g : segments) {
        g.startLowBandDb = s.LowBandShareDb(g.begin + half, options.leakWindow, options.cutoffHz);
        g.stopLowBandDb = s.LowBandShareDb(g.end - half, options.leakWindow, options.cutoffHz);
    }
    return segments;
}

std::size_t CountFaultyJoins(const std::vector<JoinMeasure>& joins, const JoinLimits& limits) {
    std::size_t faulty = 0;
    std::int64_t before = 0;
    for (const JoinMeasure& j : joins) {
        const bool moved =
            limits.offset && std::abs(static_cast<double>(j.offset - before)) > *limits.offset;
        faulty += moved || (limits.phaseJump && j.phaseJump > *limits.phaseJump) ||
                  (limits.residualDb && j.residualDb > *limits.residualDb);
        before = j.offset;
    }
    return faulty;
}
