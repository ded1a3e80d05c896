#include "tone/audio_tone_sink.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/interruptible_wait.h"
#include "base/program_name.h"
#include "tone/sound_output.h"

AudioToneSink::AudioToneSink(OutputOpener open, std::unique_ptr<ToneSink> fallback,
                             std::chrono::milliseconds retryInterval)
    : m_open(std::move(open)), m_fallback(std::move(fallback)), m_retryInterval(retryInterval) {
    Current();
}

AudioToneSink::~AudioToneSink() = default;

void AudioToneSink::ReportOnce(const std::string& why) {
    if (m_reported) return;
    m_reported = true;
    std::fprintf(stderr, "%s: cannot open sound output (%s); %s and retrying every %.0f s\n",
                 MessageName(), why.c_str(),
                 m_fallback ? "playing through the fallback" : "keeping time silently",
                 std::chrono::duration<double>(m_retryInterval).count());
}

std::shared_ptr<SoundOutput> AudioToneSink::Current() {
    std::lock_guard lock(m_mutex);
    const auto now = std::chrono::steady_clock::now();
    std::string failed;
    if (m_output && m_output->Failed()) {
        // Another output may be there at once: the default device changed, the server restarted.
        // A second failure within the retry interval waits for it: a device that opens but
        // cannot play would otherwise be reopened for every tone, and the player would spin.
        m_output.reset();
        m_nextRetry = std::max(now, m_lastFailure + m_retryInterval);
        m_lastFailure = now;
        failed = "the sound output failed; ";
    }
    if (m_output || now < m_nextRetry) return m_output;
    m_nextRetry = now + m_retryInterval;
    std::string why;
    m_output = m_open(why);
    if (!m_output) {
        ReportOnce(failed + why);
        return nullptr;
    }
    if (m_reported) {
        std::fprintf(stderr, "%s: sound output is back (%s)\n", MessageName(),
                     m_output->Name().c_str());
        m_reported = false;
    }
    return m_output;
}

std::shared_ptr<SoundOutput> AudioToneSink::Opened() const {
    std::lock_guard lock(m_mutex);
    return m_output;
}

void AudioToneSink::PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    if (const std::shared_ptr<SoundOutput> output = Current()) {
        output->Play(hz, ms, stop);
    } else if (m_fallback) {
        m_fallback->Play(hz, ms, stop);
    } else {
        // Keep the tone's time on the clock, so the player neither spins nor drifts.
        WaitFor(stop, std::chrono::milliseconds(ms));
    }
}

void AudioToneSink::Silence() {
    if (const std::shared_ptr<SoundOutput> output = Opened()) output->Silence();
    // The fallback may still sound the tone it played before the output came (back).
    if (m_fallback) m_fallback->Silence();
}

void AudioToneSink::Drain(std::chrono::milliseconds limit) {
    if (const std::shared_ptr<SoundOutput> output = Opened()) output->Drain(limit);
}

void AudioToneSink::WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) {
    if (const std::shared_ptr<SoundOutput> output = Opened())
        output->WaitUntilSounding(stop, limit);
}
