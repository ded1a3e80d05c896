#include "tone/wav_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

void PutU32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void PutU16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

constexpr std::uint16_t kFormatFloat = 3;
constexpr std::size_t kHeaderSize = 44;
// A RIFF size field holds 32 bits.
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - kHeaderSize;

}  // namespace

WavWriter::WavWriter(std::string path, unsigned sampleRate)
    : m_path(std::move(path)), m_tempPath(m_path + ".part"), m_rate(sampleRate) {
    m_file = std::fopen(m_tempPath.c_str(), "wb");
    if (m_file && !WriteHeader()) m_failed = true;
}

WavWriter::~WavWriter() {
    if (m_file) {
        std::fclose(m_file);
        std::remove(m_tempPath.c_str());
    }
}

bool WavWriter::WriteHeader() {
    std::array<unsigned char, kHeaderSize> h{};
    const std::uint64_t dataBytes = m_frames * sizeof(float);
    std::copy_n("RIFF", 4, h.begin());
    PutU32(&h[4], static_cast<std::uint32_t>(36 + dataBytes));
    std::copy_n("WAVEfmt ", 8, h.begin() + 8);
    PutU32(&h[16], 16);
    PutU16(&h[20], kFormatFloat);
    PutU16(&h[22], 1);
    PutU32(&h[24], m_rate);
    PutU32(&h[28], m_rate * static_cast<std::uint32_t>(sizeof(float)));
    PutU16(&h[32], sizeof(float));
    PutU16(&h[34], 32);
    std::copy_n("data", 4, h.begin() + 36);
    PutU32(&h[40], static_cast<std::uint32_t>(dataBytes));
    return std::fseek(m_file, 0, SEEK_SET) == 0 &&
           std::fwrite(h.data(), 1, h.size(), m_file) == h.size();
}

bool WavWriter::Write(const float* samples, std::size_t count) {
    if (!m_file || m_failed) return false;
    if ((m_frames + count) * sizeof(float) > kMaxDataBytes) return !(m_failed = true);
    // Samples are stored little-endian; every platform we build for is little-endian.
    if (std::fwrite(samples, sizeof(float), count, m_file) != count) return !(m_failed = true);
    m_frames += count;
    return true;
}

bool WavWriter::Finish() {
    if (!m_file) return false;
    bool ok = !m_failed && WriteHeader() && std::fflush(m_file) == 0;
    ok = std::fclose(m_file) == 0 && ok;
    m_file = nullptr;
    if (ok) ok = std::rename(m_tempPath.c_str(), m_path.c_str()) == 0;
    if (!ok) std::remove(m_tempPath.c_str());
    return ok;
}
