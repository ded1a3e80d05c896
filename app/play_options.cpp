#include "app/play_options.h"

#include <charconv>
#include <cmath>

#include "settings/registry_settings.h"
#include "tone/tone_params.h"

std::string PlayUsage() {
    std::int32_t from = 0, to = 0, delay = 0, step = 0;
    CRegistrySettings::GetDefaultToneParams(from, to, delay, step);
    const auto stored = [](std::int32_t first) {
        return " (stored; at first " + std::to_string(first) + ")\n";
    };
    return "Usage: drovane-play sweep [--from HZ] [--to HZ] [--delay MS] [--step HZ]\n"
           "                          [--seconds N] [--wav FILE]\n"
           "       drovane-play melody [--seconds N] [--wav FILE]\n"
           "       drovane-play settings\n"
           "       drovane-play --help | --version\n"
           "\n"
           "Plays Drovane's tone sweep or its test melody without a window, or renders it\n"
           "into a WAV file.\n"
           "\n"
           "  sweep          the looping sweep from one frequency to the other\n"
           "  melody         the test melody\n"
           "  settings       the stored settings and the file they come from\n"
           "\n"
           "  --from HZ      lowest frequency, 0 to 32767" +
           stored(from) + "  --to HZ        highest frequency, 0 to 32767" + stored(to) +
           "  --delay MS     length of each tone, 0 to 32767" + stored(delay) +
           "  --step HZ      distance between tones, 0 to 32767" + stored(step) +
           "  --seconds N    stop after N seconds with a short fade (default: at Ctrl-C)\n"
           "  --wav FILE     render into FILE, faster than real time; needs --seconds\n"
           "  --help         show this help and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "A value not given is the stored setting, which Drovane's window changes.\n"
           "Report bugs at " DROVANE_BUGS_URL "\n";
}

namespace {

// A tone parameter: a whole number from 0 to kToneParamMax.
std::optional<std::int32_t> ParseToneParam(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty() || value < 0 || value > kToneParamMax) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseSeconds(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value) || value < 0 || value > 1e7) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

PlayParse ParsePlayArguments(std::span<const std::string_view> args) {
    PlayOptions o;
    if (args.empty()) return {std::nullopt, "a command is needed: sweep, melody or settings"};
    const std::string_view command = args[0];
    if (command == "--help" || command == "-h" || command == "help") return {o, {}};
    if (command == "--version") {
        o.command = PlayOptions::Command::Version;
        return {o, {}};
    }
    if (command == "settings") {
        if (args.size() > 1 && (args[1] == "--help" || args[1] == "-h")) return {o, {}};
        if (args.size() > 1) return {std::nullopt, "settings takes no options"};
        o.command = PlayOptions::Command::Settings;
        return {o, {}};
    }
    if (command == "sweep")
        o.command = PlayOptions::Command::Sweep;
    else if (command == "melody")
        o.command = PlayOptions::Command::Melody;
    else
        return {std::nullopt, "unknown command '" + std::string(command) + "'"};

    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name == "--help" || name == "-h") {
            o.command = PlayOptions::Command::Help;
            return {o, {}};
        }
        const bool sweepOnly =
            name == "--from" || name == "--to" || name == "--delay" || name == "--step";
        const bool known = sweepOnly || name == "--seconds" || name == "--wav";
        if (!known || (sweepOnly && o.command != PlayOptions::Command::Sweep)) {
            return {std::nullopt,
                    "unknown option '" + std::string(name) + "' for " + std::string(command)};
        }
        if (i + 1 >= args.size()) return {std::nullopt, std::string(name) + " needs a value"};
        const std::string_view value = args[++i];
        if (name == "--wav") {
            if (value.empty()) return {std::nullopt, "--wav needs a file name"};
            o.wav = value;
        } else if (name == "--seconds") {
            o.seconds = ParseSeconds(value);
            if (!o.seconds)
                return {std::nullopt,
                        "--seconds needs a number of seconds, not '" + std::string(value) + "'"};
        } else {
            const std::optional<std::int32_t> n = ParseToneParam(value);
            if (!n)
                return {std::nullopt, std::string(name) + " must range from 0 to " +
                                          std::to_string(kToneParamMax) + ", not '" +
                                          std::string(value) + "'"};
            (name == "--from"    ? o.from
             : name == "--to"    ? o.to
             : name == "--delay" ? o.delay
                                 : o.step) = n;
        }
    }
    if (!o.wav.empty() && !o.seconds) return {std::nullopt, "--wav needs --seconds"};
    return {o, {}};
}
