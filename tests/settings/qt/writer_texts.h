#pragma once

#include <optional>
#include <string>

// The texts that registry_writer stores: run and counter first, then a length that changes with the
// counter and bytes that need escaping, so that a torn or mixed-up value cannot pass for another.
inline std::string WriterText(int run, long counter) {
    return std::to_string(run) + ":" + std::to_string(counter) + ":" +
           std::string(static_cast<std::size_t>(counter % 97), 'x') + " \"\\\n사\xff";
}

// The counter of a text WriterText(run, counter) gave, or nullopt for any other text.
inline std::optional<long> WriterCounter(int run, const std::string& text) {
    const std::string prefix = std::to_string(run) + ":";
    if (text.rfind(prefix, 0) != 0) return std::nullopt;
    std::size_t end = 0;
    long counter = 0;
    try {
        counter = std::stol(text.substr(prefix.size()), &end);
    } catch (...) {
        return std::nullopt;
    }
    if (counter < 0 || WriterText(run, counter) != text) return std::nullopt;
    return counter;
}

inline constexpr const char* kWriterKey = "SOFTWARE\\Corvell\\Drovane";
inline constexpr const char* kWriterValues[] = {"Frequency1", "Frequency2", "Delay", "Step"};
