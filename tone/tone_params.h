#pragma once

#include <cstdint>

// The four tone parameters: lower and upper frequency (Hz), tone length (ms), step (Hz).
struct ToneParams {
    std::int32_t Frequency1 = 0;
    std::int32_t Frequency2 = 0;
    std::int32_t Delay = 0;
    std::int32_t Step = 0;

    friend bool operator==(const ToneParams&, const ToneParams&) = default;
};

// Inclusive upper limit of every tone parameter.
inline constexpr std::int32_t kToneParamMax = 32767;
