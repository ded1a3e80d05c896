#pragma once

#include <string>
#include <vector>

// Mono samples read for analysis, from a WAV file (32-bit float or 16-bit PCM, mono) or from raw
// little-endian float32 as parec writes it.
struct SampleFile {
    std::vector<float> samples;
    unsigned rate = 48000;
};

// Returns false and sets `error` when the file cannot be read or is not a format we know.
[[nodiscard]] bool ReadSampleFile(const std::string& path, unsigned rawRate, SampleFile& out,
                                  std::string& error);
