#include "app/play_options.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "settings/registry_settings.h"

std::string PlayUsage() {
    std::int32_t from = 0, to = 0, delay = 0, step = 0;
    CRegistrySettings::GetDefaultToneParams(from, to, delay, step);
    return "Usage: drovane-play sweep [--from HZ] [--to HZ] [--delay MS] [--step HZ] [--seconds N] "
           "[--wav FILE]\n"
           "       drovane-play melody [--seconds N] [--wav FILE]\n"
           "       drovane-play settings\n"
           "       drovane-play --help | --version\n"
           "\n"
           "Plays Drovane's tone sweep or its test melody. Values not given are the stored "
           "settings,\nwhich 'drovane-play settings' shows with the file they come from (" +
           std::to_string(from) + ", " + std::to_string(to) + ", " + std::to_string(delay) +
           " and " + std::to_string(step) +
           "\nuntil Drovane stores others). --seconds stops after N seconds with a short\n"
           "fade; Ctrl-C stops at once. --wav renders what would be heard into a WAV file, faster "
           "than\nreal time (it needs --seconds).\n";
}

namespace {

// Whole numbers beyond 32 bits are kept as the nearest 32-bit value, so that the engine's own
// range check reports them.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec == std::errc::result_out_of_range) {
        return text.starts_with('-') ? std::numeric_limits<std::int32_t>::min()
                                     : std::numeric_limits<std::int32_t>::max();
    }
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
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
            const std::optional<std::int32_t> n = ParseInteger(value);
            if (!n)
                return {std::nullopt,
                        std::string(name) + " needs an integer, not '" + std::string(value) + "'"};
            (name == "--from"    ? o.from
             : name == "--to"    ? o.to
             : name == "--delay" ? o.delay
                                 : o.step) = n;
        }
    }
    if (!o.wav.empty() && !o.seconds) return {std::nullopt, "--wav needs --seconds"};
    return {o, {}};
}
