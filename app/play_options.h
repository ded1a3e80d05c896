#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The command line of drovane-play.
struct PlayOptions {
    enum class Command { Sweep, Melody, Settings, Help, Version };
    Command command = Command::Help;
    // Values not given on the command line come from the stored settings.
    std::optional<std::int32_t> from, to, delay, step;
    std::optional<double> seconds;  // play for this long, else until interrupted
    std::string wav;                // render into this file instead of playing
};

struct PlayParse {
    std::optional<PlayOptions> options;
    std::string error;  // set when options is empty
};

PlayParse ParsePlayArguments(std::span<const std::string_view> args);

// The help text, with the default tone parameters.
std::string PlayUsage();
