// rig-analyze: measures a recorded or rendered sweep against the sweep that was asked for, prints
// one figure per line and fails when a figure is outside the limits given.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/sound_analysis/sample_file.h"
#include "tools/sound_analysis/sweep_analysis.h"

namespace {

const char* const kUsage =
    "Usage: rig-analyze FILE [--list] [--rate HZ] [--from HZ] [--to HZ] [--delay MS] [--step HZ]\n"
    "         [--max-frequency-error HZ] [--max-low-band-db DB] [--max-phase-jump RAD]\n"
    "         [--max-join-residual-db DB] [--max-join-offset N] [--max-faulty-joins N]\n"
    "         [--max-gaps N]\n"
    "         [--seconds S --max-extra-ms MS] [--stop-frame N] [--tones N] [--onset-before S]\n"
    "         [--melody MELODY_FILE]\n"
    "       rig-analyze FILE --segments MIN_SILENCE_MS [--max-low-band-db DB]\n"
    "FILE is a mono WAV file or raw float32 (at --rate, default 48000). A MELODY_FILE holds the\n"
    "melody played in place of the sweep: little-endian 16-bit pairs of Hz and tens of ms.\n"
    "With --max-faulty-joins the join limits hold for each join, and up to N joins may miss them;\n"
    "a join's offset then counts from the join before, so a tone placed late counts once.\n";

struct Limits {
    std::optional<double> frequencyError, lowBandDb, phaseJump, residualDb, joinOffset, gaps;
    std::optional<double> faultyJoins;
    std::optional<double> seconds, extraMs, stopFrame, tones, onsetBefore, segmentsMs;
};

std::optional<double> Number(std::string_view text) {
    double v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The notes of a melody resource, with the lengths in milliseconds kept to 16 bits as the player
// keeps them.
std::optional<std::vector<MelodyNote>> ReadMelody(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::vector<MelodyNote> notes;
    unsigned char pair[4];
    while (std::fread(pair, 1, sizeof pair, f) == sizeof pair) {
        const int hz = pair[0] | pair[1] << 8;
        notes.push_back({hz, ((pair[2] | pair[3] << 8) * 10) & 0xFFFF});
    }
    std::fclose(f);
    return notes;
}

int failures = 0;
void Check(bool ok, const std::string& what) {
    if (ok) return;
    ++failures;
    std::printf("FAIL %s\n", what.c_str());
}
// printf into a string; the compiler checks each format against its arguments.
[[gnu::format(printf, 1, 2)]] std::string Fmt(const char* format, ...) {
    char buf[200];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

// Stops and starts: every stretch of sound, where it begins and ends, and how much of its energy
// lies below 12 kHz there. A start or stop above the limit is a click.
int Segments(const SampleFile& file, double minSilenceMs, double limitDb) {
    const auto minSilence = static_cast<std::int64_t>(minSilenceMs * file.rate / 1000);
    const std::vector<SoundSegment> segments = FindSegments(file.samples, file.rate, minSilence);
    double worstStart = -1e9, worstStop = -1e9;
    int clicks = 0;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const SoundSegment& g = segments[i];
        std::printf("segment %zu %lld %lld %.1f %.1f\n", i, static_cast<long long>(g.begin),
                    static_cast<long long>(g.end), g.startLowBandDb, g.stopLowBandDb);
        worstStart = std::max(worstStart, g.startLowBandDb);
        worstStop = std::max(worstStop, g.stopLowBandDb);
        clicks += (g.startLowBandDb > limitDb) + (g.stopLowBandDb > limitDb);
    }
    std::printf("segments %zu\n", segments.size());
    std::printf("worst_start_low_band_db %.1f\n", worstStart);
    std::printf("worst_stop_low_band_db %.1f\n", worstStop);
    std::printf("clicks %d\n", clicks);
    std::printf("%s\n", clicks ? "RESULT fail" : "RESULT ok");
    return clicks ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string path;
    SweepPlan plan;
    unsigned rate = 48000;
    Limits lim;
    bool listTones = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (!a.starts_with("--")) {
            path = a;
            continue;
        }
        if (a == "--list") {
            listTones = true;
            continue;
        }
        if (a == "--melody" && i + 1 < args.size()) {
            const std::string melodyPath(args[++i]);
            std::optional<std::vector<MelodyNote>> notes = ReadMelody(melodyPath);
            if (!notes || notes->empty()) {
                std::fprintf(stderr, "rig-analyze: no melody in %s\n", melodyPath.c_str());
                return 2;
            }
            plan.melody = std::move(*notes);
            continue;
        }
        std::optional<double> v = i + 1 < args.size() ? Number(args[i + 1]) : std::nullopt;
        if (!v) {
            std::fprintf(stderr, "rig-analyze: %s needs a number\n%s", std::string(a).c_str(),
                         kUsage);
            return 2;
        }
        ++i;
        if (a == "--rate")
            rate = static_cast<unsigned>(*v);
        else if (a == "--from")
            plan.from = static_cast<int>(*v);
        else if (a == "--to")
            plan.to = static_cast<int>(*v);
        else if (a == "--delay")
            plan.delayMs = static_cast<int>(*v);
        else if (a == "--step")
            plan.step = static_cast<int>(*v);
        else if (a == "--max-frequency-error")
            lim.frequencyError = v;
        else if (a == "--max-low-band-db")
            lim.lowBandDb = v;
        else if (a == "--max-phase-jump")
            lim.phaseJump = v;
        else if (a == "--max-join-residual-db")
            lim.residualDb = v;
        else if (a == "--max-join-offset")
            lim.joinOffset = v;
        else if (a == "--max-faulty-joins")
            lim.faultyJoins = v;
        else if (a == "--max-gaps")
            lim.gaps = v;
        else if (a == "--seconds")
            lim.seconds = v;
        else if (a == "--max-extra-ms")
            lim.extraMs = v;
        else if (a == "--stop-frame")
            lim.stopFrame = v;
        else if (a == "--tones")
            lim.tones = v;
        else if (a == "--onset-before")
            lim.onsetBefore = v;
        else if (a == "--segments")
            lim.segmentsMs = v;
        else {
            std::fprintf(stderr, "rig-analyze: unknown option %s\n%s", std::string(a).c_str(),
                         kUsage);
            return 2;
        }
    }
    if (path.empty() || rate == 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    SampleFile file;
    std::string error;
    if (!ReadSampleFile(path, rate, file, error)) {
        std::fprintf(stderr, "rig-analyze: %s\n", error.c_str());
        return 2;
    }

    if (lim.segmentsMs) return Segments(file, *lim.segmentsMs, lim.lowBandDb.value_or(-90));

    const SweepReport r = AnalyseSweep(file.samples, file.rate, plan);
    std::printf("recording_s %.3f\n", static_cast<double>(file.samples.size()) / file.rate);
    if (!r.problem.empty()) {
        std::printf("FAIL %s\n", r.problem.c_str());
        return 1;
    }
    const double onsetS = static_cast<double>(r.onset) / file.rate;
    std::printf("onset_s %.4f\n", onsetS);
    std::printf("heard_s %.4f\n", r.heardSeconds);
    std::printf("onset_frame %lld\n", static_cast<long long>(r.onset));
    std::printf("onset_correction_samples %lld\n", static_cast<long long>(r.onsetCorrection));
    std::printf("last_sound_frame %lld\n", static_cast<long long>(r.lastSound));
    std::printf("stop_frame %lld\n", static_cast<long long>(r.stopAt));
    std::printf("level %.5f\n", r.level);
    std::printf("tones_measured %zu\n", r.tonesMeasured);
    if (!r.tones.empty()) std::printf("first_tone_hz %.2f\n", r.tones.front().measuredHz);
    if (listTones) {
        for (const ToneMeasure& t : r.tones) {
            std::printf("tone at %lld: planned %.0f Hz, measured %.4f Hz\n",
                        static_cast<long long>(t.start), t.plannedHz, t.measuredHz);
        }
    }
    std::printf("worst_frequency_error_hz %.5f at %.0f Hz\n", r.worstFrequencyError,
                r.worstFrequencyHz);
    std::printf("joins %zu\n", r.joins.size());
    std::printf("worst_join_offset_samples %lld\n", static_cast<long long>(r.worstJoinOffset));
    std::printf("worst_phase_jump_rad %.2e\n", r.worstPhaseJump);
    std::printf("worst_join_residual_db %.1f\n", r.worstResidualDb);
    std::printf("low_band_db_start %.1f\n", r.startLowBandDb);
    std::printf("low_band_db_stop %.1f\n", r.stopLowBandDb);
    std::printf("low_band_db_joins %.1f\n", r.worstJoinLowBandDb);
    std::printf("gaps %zu\n", r.gaps);
    if (r.gaps) std::printf("first_gap_s %.4f\n", r.firstGapSeconds);

    if (lim.frequencyError) {
        Check(std::abs(r.worstFrequencyError) <= *lim.frequencyError,
              Fmt("frequency error %.4f Hz at %.0f Hz", r.worstFrequencyError, r.worstFrequencyHz));
        Check(r.tonesMeasured > 0, "no tone long enough to measure");
    }
    if (lim.lowBandDb) {
        const double worst = std::max({r.startLowBandDb, r.stopLowBandDb, r.worstJoinLowBandDb});
        Check(worst <= *lim.lowBandDb,
              Fmt("energy below 12 kHz at %.1f dB (limit %.1f)", worst, *lim.lowBandDb));
    }
    if (lim.faultyJoins) {
        const std::size_t faulty =
            CountFaultyJoins(r.joins, {lim.joinOffset, lim.phaseJump, lim.residualDb});
        std::printf("faulty_joins %zu of %zu (limit %.0f)\n", faulty, r.joins.size(),
                    *lim.faultyJoins);
        Check(static_cast<double>(faulty) <= *lim.faultyJoins,
              Fmt("%.0f of %.0f joins out of place or broken", static_cast<double>(faulty),
                  static_cast<double>(r.joins.size())));
    } else {
        if (lim.phaseJump)
            Check(r.worstPhaseJump <= *lim.phaseJump,
                  Fmt("phase jump %.3g rad at a join", r.worstPhaseJump));
        if (lim.residualDb) {
            Check(r.worstResidualDb <= *lim.residualDb,
                  Fmt("discontinuity at a join: %.1f dB re level", r.worstResidualDb));
        }
        if (lim.joinOffset) {
            Check(std::abs(static_cast<double>(r.worstJoinOffset)) <= *lim.joinOffset,
                  Fmt("a join lies %.0f samples from its place",
                      static_cast<double>(r.worstJoinOffset)));
        }
    }
    if (lim.joinOffset) {
        Check(std::abs(r.onsetCorrection) <= 16,
              Fmt("the first tone's length is off by %.0f samples",
                  static_cast<double>(r.onsetCorrection)));
    }
    if (lim.phaseJump || lim.residualDb || lim.joinOffset)
        Check(!r.joins.empty(), "no join to measure");
    if (lim.gaps)
        Check(r.gaps <= *lim.gaps, Fmt("%.0f gaps, the first at %.3f s",
                                       static_cast<double>(r.gaps), r.firstGapSeconds));
    if (lim.seconds && lim.extraMs) {
        const double extraMs = (r.heardSeconds - *lim.seconds) * 1000.0;
        std::printf("extra_ms %.1f\n", extraMs);
        Check(std::abs(extraMs) <= *lim.extraMs,
              Fmt("heard %.4f s for %.4f s asked", r.heardSeconds, *lim.seconds));
    }
    if (lim.stopFrame) {
        Check(std::abs(static_cast<double>(r.stopAt) - *lim.stopFrame) <= 2,
              Fmt("the fade-out starts at frame %.0f, not %.0f", static_cast<double>(r.stopAt),
                  *lim.stopFrame));
    }
    if (lim.tones) {
        Check(static_cast<double>(r.joins.size() + 1) == *lim.tones,
              Fmt("%.0f tones joined, not %.0f", static_cast<double>(r.joins.size() + 1),
                  *lim.tones));
    }
    if (lim.onsetBefore)
        Check(onsetS <= *lim.onsetBefore,
              Fmt("sound began at %.2f s, after %.2f s", onsetS, *lim.onsetBefore));
    std::printf("%s\n", failures ? "RESULT fail" : "RESULT ok");
    return failures ? 1 : 0;
}
