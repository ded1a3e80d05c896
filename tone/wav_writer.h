#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_output.h"

// Writes mono 32-bit float WAV into `output`, which takes the file's name only when Finish
// succeeds, so that a failed run leaves no half-written WAV.
class WavWriter {
public:
    WavWriter(FileOutput& output, unsigned sampleRate);
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // False from the first failure on; nothing is written after it.
    [[nodiscard]] bool Write(const float* samples, std::size_t count);
    // Completes the header and puts the file in place. Returns false on any write error.
    [[nodiscard]] bool Finish();
    // Why writing failed ("No space left on device"), or empty.
    std::string Error() const;

private:
    [[nodiscard]] bool Flush();
    [[nodiscard]] bool Fail(std::string reason);
    std::vector<unsigned char> Header() const;

    FileOutput& m_output;
    unsigned m_rate;
    std::uint64_t m_frames = 0;
    std::vector<unsigned char> m_buffer;
    std::string m_error;  // the writer's own reason; the output knows its own
    bool m_failed = false;
};
