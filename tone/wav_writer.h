#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Writes mono 32-bit float WAV. The file appears under its name only when Finish succeeds; until
// then the samples go to a temporary file beside it, so a failed run leaves no half-written WAV.
class WavWriter {
public:
    WavWriter(std::string path, unsigned sampleRate);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    [[nodiscard]] bool Write(const float* samples, std::size_t count);
    // Completes the header and moves the file into place. Returns false on any write error.
    [[nodiscard]] bool Finish();

private:
    [[nodiscard]] bool WriteHeader();

    std::string m_path;
    std::string m_tempPath;
    unsigned m_rate;
    std::FILE* m_file = nullptr;
    std::uint64_t m_frames = 0;
    bool m_failed = false;
};
