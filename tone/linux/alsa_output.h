#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "tone/pull_output.h"

class RtAudio;

// A sound card through ALSA (RtAudio), for systems with no sound server. The callback renders
// short buffers (4 x 256 frames), so a stop is heard within about 21 ms without rewriting
// anything; a tone counts as heard once the frames after it have pushed it out of those buffers.
// One instance at a time.
class AlsaOutput final : public PullOutput {
public:
    // Opens the default device; null, with the reason in `why`, when there is none.
    [[nodiscard]] static std::unique_ptr<AlsaOutput> Open(std::string& why);
    ~AlsaOutput() override;

    std::string Name() const override { return "ALSA"; }

private:
    AlsaOutput();
    static int Callback(void* output, void* input, unsigned int frames, double streamTime,
                        unsigned int status, void* self);
    friend void NotifyAlsaFailed();

    std::unique_ptr<RtAudio> m_audio;
    // Touched only by the stream's callback thread (and reset before the stream starts).
    std::uint64_t m_callbackFrames = 0;
    std::chrono::steady_clock::time_point m_callbackStart{};
};
