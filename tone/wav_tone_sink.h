#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "tone/sounding_tone_sink.h"
#include "tone/tone_synth.h"
#include "tone/wav_writer.h"

// Renders exactly what the audio sink would play into a WAV file, as fast as it can. The file
// holds at most `limitFrames` of tones; a player that reaches the limit waits there until stopped,
// as it would in real time. Silence appends the fade-out tail. The first failed write ends the
// rendering as the limit does.
class WavToneSink final : public SoundingToneSink {
public:
    WavToneSink(WavWriter& writer, std::uint64_t limitFrames,
                unsigned sampleRate = ToneSynth::kDefaultSampleRate);

    void Silence() override;
    // Writes the rest as silence, as the sound card would play it.
    void Rest(std::uint32_t ms, std::stop_token stop) override { Play(0, ms, stop); }

    // Waits until the limit is reached or a write failed; false if `stop` came first.
    [[nodiscard]] bool WaitUntilFull(std::stop_token stop);
    // Renders silence up to the limit: for a run in which nothing plays.
    void FillWithSilence();
    bool WriteFailed() const;

private:
    void PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    // With m_mutex held:
    void RenderFrames(std::uint64_t frames);
    bool Full() const { return m_failed || m_synth.FramesRendered() >= m_limit; }

    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    WavWriter& m_writer;
    ToneSynth m_synth;
    std::uint64_t m_limit;
    bool m_failed = false;
    std::array<float, 4096> m_block{};
};
