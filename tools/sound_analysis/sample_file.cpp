#include "tools/sound_analysis/sample_file.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::uint32_t U32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

bool ParseWav(const std::vector<unsigned char>& bytes, SampleFile& out, std::string& error) {
    std::size_t pos = 12;
    bool haveFormat = false;
    std::uint16_t format = 0, channels = 0, bits = 0;
    while (pos + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + pos;
        const std::uint64_t size = U32(chunk + 4);
        const std::size_t body = pos + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16 && body + 16 <= bytes.size()) {
            format = U16(&bytes[body]);
            channels = U16(&bytes[body + 2]);
            out.rate = U32(&bytes[body + 4]);
            bits = U16(&bytes[body + 14]);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) break;
            if (channels != 1) {
                error = "only mono WAV files are analysed";
                return false;
            }
            // A header written before the data was complete may claim more than the file holds.
            const std::size_t available = bytes.size() - body;
            const std::size_t n =
                static_cast<std::size_t>(std::min<std::uint64_t>(size, available));
            if (format == 3 && bits == 32) {
                out.samples.resize(n / 4);
                std::memcpy(out.samples.data(), &bytes[body], out.samples.size() * 4);
            } else if (format == 1 && bits == 16) {
                out.samples.resize(n / 2);
                for (std::size_t i = 0; i < out.samples.size(); ++i) {
                    out.samples[i] =
                        static_cast<std::int16_t>(U16(&bytes[body + 2 * i])) / 32768.0f;
                }
            } else {
                error = "WAV format " + std::to_string(format) + " with " + std::to_string(bits) +
                        " bits is not supported (32-bit float or 16-bit PCM only)";
                return false;
            }
            return true;
        }
        pos = body + size + (size & 1);
    }
    error = "not a complete WAV file (no format or data chunk)";
    return false;
}

}  // namespace

bool ReadSampleFile(const std::string& path, unsigned rawRate, SampleFile& out,
                    std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    out = SampleFile{};
    if (bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
        std::memcmp(bytes.data() + 8, "WAVE", 4) == 0) {
        if (!ParseWav(bytes, out, error)) {
            error = path + ": " + error;
            return false;
        }
        return true;
    }
    out.rate = rawRate;
    out.samples.resize(bytes.size() / 4);
    std::memcpy(out.samples.data(), bytes.data(), out.samples.size() * 4);
    return true;
}
