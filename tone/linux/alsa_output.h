#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>

#include "tone/pull_output.h"

typedef struct _snd_pcm snd_pcm_t;  // alsa-lib's handle of an open device

// A sound card through alsa-lib, for systems with no sound server. A thread renders short periods
// (4 x 256 frames) and writes each one, so a stop is heard within about 21 ms without rewriting
// anything; a tone counts as heard once the frames after it have pushed it out of the device's
// buffer.
class AlsaOutput final : public PullOutput {
public:
    // Opens the default device; null, with the reason in `why`, when there is none.
    [[nodiscard]] static std::unique_ptr<AlsaOutput> Open(std::string& why);
    ~AlsaOutput() override;

    std::string Name() const override { return "ALSA"; }

private:
    struct PcmCloser {
        void operator()(snd_pcm_t* pcm) const;
    };
    using Pcm = std::unique_ptr<snd_pcm_t, PcmCloser>;

    AlsaOutput(Pcm pcm, unsigned rate, std::uint32_t periodFrames, std::uint32_t bufferFrames);
    void Run(std::stop_token stop);
    bool WritePeriod(const float* samples, std::stop_token stop);

    Pcm m_pcm;
    unsigned m_rate;
    std::uint32_t m_periodFrames;
    std::jthread m_thread;  // last, so that it stops before the device closes
};
