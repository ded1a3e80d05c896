#include "tone/wav_writer.h"

#include <algorithm>

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
// Samples reach the output in blocks of this size: few calls, and a failure seen early.
constexpr std::size_t kBlockBytes = 1 << 16;

}  // namespace

WavWriter::WavWriter(FileOutput& output, unsigned sampleRate)
    : m_output(output), m_rate(sampleRate), m_buffer(Header()) {
    m_buffer.reserve(kBlockBytes);
}

std::vector<unsigned char> WavWriter::Header() const {
    std::vector<unsigned char> h(kHeaderSize);
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
    return h;
}

bool WavWriter::Fail(std::string reason) {
    m_error = std::move(reason);
    m_failed = true;
    return false;
}

bool WavWriter::Flush() {
    if (!m_output.Write(m_buffer.data(), m_buffer.size())) return Fail({});
    m_buffer.clear();
    return true;
}

bool WavWriter::Write(const float* samples, std::size_t count) {
    if (m_failed) return false;
    if ((m_frames + count) * sizeof(float) > kMaxDataBytes) {
        return Fail("a WAV file holds at most 4 GiB of samples");
    }
    // Samples are stored little-endian; every platform we build for is little-endian.
    const auto* bytes = reinterpret_cast<const unsigned char*>(samples);
    m_buffer.insert(m_buffer.end(), bytes, bytes + count * sizeof(float));
    m_frames += count;
    return m_buffer.size() < kBlockBytes || Flush();
}

bool WavWriter::Finish() {
    if (m_failed || !Flush()) return false;
    const std::vector<unsigned char> header = Header();
    if (!m_output.WriteAt(0, header.data(), header.size()) || !m_output.Commit()) return Fail({});
    return true;
}

std::string WavWriter::Error() const { return m_error.empty() ? m_output.Error() : m_error; }
