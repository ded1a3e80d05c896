#include "tone/linux/audio_tone_sink.h"

#include <cstdio>

#include "base/interruptible_wait.h"
#include "tone/linux/alsa_output.h"
#include "tone/linux/pulse_output.h"

AudioToneSink::AudioToneSink() { Current(); }

AudioToneSink::~AudioToneSink() = default;

void AudioToneSink::ReportOnce(const std::string& why) {
    if (m_reported) return;
    m_reported = true;
    std::fprintf(stderr,
                 "drovane: cannot open sound output (%s); keeping time silently and retrying "
                 "every %lld s\n",
                 why.c_str(), static_cast<long long>(kRetryInterval.count()));
}

std::shared_ptr<SoundOutput> AudioToneSink::Current() {
    std::lock_guard lock(m_mutex);
    if (m_output && m_output->Failed()) {
        m_output.reset();
        m_nextRetry = std::chrono::steady_clock::now() + kRetryInterval;
        ReportOnce("the sound output failed");
    }
    if (m_output || std::chrono::steady_clock::now() < m_nextRetry) return m_output;
    m_nextRetry = std::chrono::steady_clock::now() + kRetryInterval;
    // The server's reason is the telling one: desktops run a sound server.
    std::string why, alsaWhy;
    if (auto pulse = PulseOutput::Open(why)) {
        m_output = std::move(pulse);
    } else if (auto alsa = AlsaOutput::Open(alsaWhy)) {
        m_output = std::move(alsa);
    } else {
        ReportOnce(why + "; " + alsaWhy);
        return nullptr;
    }
    if (m_reported) {
        std::fprintf(stderr, "drovane: sound output is back (%s)\n", m_output->Name().c_str());
        m_reported = false;
    }
    return m_output;
}

void AudioToneSink::PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    if (const std::shared_ptr<SoundOutput> output = Current()) {
        output->Play(hz, ms, stop);
        return;
    }
    // Keep the tone's time on the clock, so the player neither spins nor drifts.
    WaitFor(stop, std::chrono::milliseconds(ms));
}

void AudioToneSink::Silence() {
    std::shared_ptr<SoundOutput> output;
    {
        std::lock_guard lock(m_mutex);
        output = m_output;
    }
    if (output) output->Silence();
}

void AudioToneSink::Drain(std::chrono::milliseconds limit) {
    std::shared_ptr<SoundOutput> output;
    {
        std::lock_guard lock(m_mutex);
        output = m_output;
    }
    if (output) output->Drain(limit);
}

void AudioToneSink::WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) {
    std::shared_ptr<SoundOutput> output;
    {
        std::lock_guard lock(m_mutex);
        output = m_output;
    }
    if (output) output->WaitUntilSounding(stop, limit);
}
