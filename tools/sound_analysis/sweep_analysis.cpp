#include "tools/sound_analysis/sweep_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <optional>

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
// One stall of a driver is one dropout, though Wine 10's Pulse driver, once run dry, plays its
// silence and the sound it was given in turns for a while (2 to 4 silences over 35 to 110 ms,
// with sound lost between them): silences that begin within this of a dropout's first belong to it.
constexpr double kDropoutSpanMs = 120;
constexpr std::size_t kFitMax = 4096;

// A dropout: from its first silent sample to one past its last.
struct Dropout {
    std::int64_t begin;
    std::int64_t end;
};

// Dropouts between `from` and `to`: 2 ms blocks whose RMS falls under `floorRms` (none when 0),
// and shorter ones, as a tone of 37 Hz or more never rests at zero for three samples running.
std::vector<Dropout> FindDropouts(std::span<const float> x, std::int64_t from, std::int64_t to,
                                  unsigned rate, double floorRms, float silence) {
    std::vector<Dropout> runs;
    const std::int64_t block = rate / 500;
    for (std::int64_t b = from; floorRms > 0 && b + block <= to; b += block / 2) {
        double sum = 0;
        for (std::int64_t n = b; n < b + block; ++n) sum += static_cast<double>(x[n]) * x[n];
        if (std::sqrt(sum / block) < floorRms) runs.push_back({b, b + block});
    }
    std::int64_t quiet = 0;
    for (std::int64_t n = from; n <= to; ++n) {
        if (n < to && std::abs(x[n]) <= silence) {
            ++quiet;
            continue;
        }
        if (quiet >= 3) runs.push_back({n - quiet, n});
        quiet = 0;
    }
    std::sort(runs.begin(), runs.end(),
              [](const Dropout& a, const Dropout& b) { return a.begin < b.begin; });
    const auto span = static_cast<std::int64_t>(kDropoutSpanMs * rate / 1000);
    std::vector<Dropout> dropouts;
    for (const Dropout& d : runs) {
        if (!dropouts.empty() && d.begin < dropouts.back().begin + span)
            dropouts.back().end = std::max(dropouts.back().end, d.end);
        else
            dropouts.push_back(d);
    }
    return dropouts;
}

double Db(double ratio) { return 20.0 * std::log10(std::max(ratio, 1e-30)); }

double WrapPhase(double a) { return std::remainder(a, 2.0 * std::numbers::pi); }

struct JoinFit {
    std::int64_t at;
    double phaseJump;
    double residual;
};

// Fits both tones away from the join and its glide, then places the join where the two fitted
// sinusoids' phase lines meet, from `expected` to `late` samples after it. A glide centred on the
// join leaves the phase exactly where an instant change would have put it, so the next tone
// continues on the same phase line; the samples in between must follow the glide to float
// precision.
JoinFit FitJoin(Spectrum& s, std::int64_t expected, std::int64_t late, const PlannedTone& a,
                const PlannedTone& b, std::int64_t aBegin, std::int64_t bEnd, std::int64_t glide) {
    const std::int64_t margin = kSearch + glide;
    const std::int64_t aEnd = expected - margin, bBegin = expected + late + margin;
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
    for (std::int64_t n = expected - kSearch; n <= expected + late + kSearch; ++n) {
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
    // that drift is followed and measured rather than lost. A dropout moves the tones after it by
    // up to its length (a driver that runs dry plays silence, then the sound it was given, and
    // may lose some): the joins around it are passed over, and the next one is looked for that
    // much later.
    const std::vector<Dropout> holes =
        FindDropouts(x, r.onset + fade, r.onset + r.stopAt, rate, 0, options.silence);
    auto hole = holes.begin();
    std::int64_t toneStart = r.onset;  // absolute, as found, or as planned past a dropout
    std::int64_t late = 0, clearFrom = 0;
    // Where each tone starts, absolute; none for a tone after a join passed over.
    std::vector<std::optional<std::int64_t>> starts(tones.size());
    std::vector<bool> passedOver(tones.size(), false);
    std::vector<double> amplitudes;
    for (std::size_t k = 0; k + 1 < tones.size(); ++k) {
        const std::int64_t expected = toneStart + tones[k].frames;
        const std::int64_t aBegin = std::max(toneStart + (k == 0 ? fade : 0) + kSearch, clearFrom);
        const std::int64_t bEnd = expected + late + tones[k + 1].frames - kSearch;
        const std::int64_t stopAbs = r.onset + r.stopAt;
        if (bEnd > stopAbs) break;
        const bool holeNear = hole != holes.end() && hole->begin < bEnd + kSearch;
        const bool aShort = expected - kSearch - glideHalf - aBegin < 64;
        if (holeNear || (aShort && aBegin == clearFrom)) {
            if (holeNear) {
                late += hole->end - hole->begin;
                clearFrom = hole->end + kSearch;
                ++hole;
            }
            passedOver[k + 1] = true;
            toneStart = expected;
            continue;
        }
        if (aShort || bEnd - expected - late - kSearch - glideHalf < 64) break;
        const std::int64_t glide =
            std::min({glideHalf, tones[k].frames / 2, tones[k + 1].frames / 2});
        const JoinFit fit = FitJoin(s, expected, late, tones[k], tones[k + 1], aBegin, bEnd, glide);
        JoinMeasure j;
        j.at = fit.at - r.onset;
        j.offset = j.at - tones[k + 1].start;
        j.phaseJump = fit.phaseJump;
        j.residualDb = fit.residual;  // made relative once the level is known
        j.lowBandDb = s.LowBandShareDb(fit.at, options.leakWindow, options.cutoffHz);
        r.joins.push_back(j);
        starts[k + 1] = fit.at;
        toneStart = fit.at;
        late = 0;
    }
    // The first join tells where the first tone really started, to the sample.
    if (!r.joins.empty() && r.joins.front().offset != 0 && !passedOver[1]) {
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

    // Frequency and level of every tone that sounds long enough, away from its edges and from
    // dropouts. A tone starts where its join was found: one placed late, or sound lost before it,
    // moves the tones after it, which are measured where they are.
    starts[0] = r.onset;
    const auto hit = [&](std::int64_t begin, std::int64_t end) {
        return std::any_of(holes.begin(), holes.end(),
                           [&](const Dropout& d) { return d.begin < end && d.end > begin; });
    };
    for (std::size_t k = 1; k < tones.size(); ++k) {
        if (!starts[k] && starts[k - 1] && !passedOver[k] &&
            !hit(*starts[k - 1], *starts[k - 1] + tones[k - 1].frames))
            starts[k] = *starts[k - 1] + tones[k - 1].frames;
    }
    for (std::size_t k = 0; k < tones.size(); ++k) {
        if (!starts[k]) continue;
        const std::int64_t begin = *starts[k] + (k == 0 ? fade : 0) + kSearch + glideHalf;
        const std::int64_t end =
            std::min(*starts[k] + tones[k].frames, r.onset + r.stopAt) - kSearch - glideHalf;
        if (end - begin < 256 || hit(begin, end)) continue;
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

    // Dropouts between the fades, where the RMS falls 6 dB under the level or the sound rests at
    // zero.
    const std::vector<Dropout> dropouts =
        FindDropouts(x, r.onset + fade, r.onset + r.stopAt, rate, r.level / std::sqrt(2.0) / 2.0,
                     options.silence);
    r.gaps = dropouts.size();
    if (r.gaps) r.firstGapSeconds = static_cast<double>(dropouts.front().begin - r.onset) / rate;
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
