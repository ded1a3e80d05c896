#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "tone/sound_output.h"
#include "tone/tone_synth.h"

class RtAudio;

// A sound card through ALSA (RtAudio), for systems with no sound server. The callback renders
// short buffers (4 x 256 frames), so a stop is heard within about 21 ms without rewriting
// anything; a tone counts as heard once the frames after it have pushed it out of those buffers.
// One instance at a time.
class AlsaOutput final : public SoundOutput {
public:
    // Opens the default device; null, with the reason in `why`, when there is none.
    [[nodiscard]] static std::unique_ptr<AlsaOutput> Open(std::string& why);
    ~AlsaOutput() override;

    void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    void Silence() override;
    void Drain(std::chrono::milliseconds limit) override;
    void WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) override;
    bool Failed() const override;
    std::string Name() const override { return "ALSA"; }

private:
    AlsaOutput();
    static int Callback(void* output, void* input, unsigned int frames, double streamTime,
                        unsigned int status, void* self);
    friend void NotifyAlsaFailed();

    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    ToneSynth m_synth;
    std::unique_ptr<RtAudio> m_audio;
    // Touched only by the stream's callback thread (and reset before the stream starts).
    std::uint64_t m_callbackFrames = 0;
    std::chrono::steady_clock::time_point m_callbackStart{};
};
