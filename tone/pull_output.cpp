#include "tone/pull_output.h"

#include <optional>

PullOutput::PullOutput(unsigned sampleRate, std::uint32_t heardDelayFrames)
    : m_synth(sampleRate), m_heardDelayFrames(heardDelayFrames) {}

void PullOutput::Reset(unsigned sampleRate, std::uint32_t heardDelayFrames) {
    std::lock_guard lock(m_mutex);
    m_synth = ToneSynth(sampleRate);
    m_heardDelayFrames = heardDelayFrames;
    m_soundEnd = 0;
}

bool PullOutput::IsSounding() const {
    const std::optional<std::uint64_t> first = m_synth.FirstToneFrame();
    return first && m_synth.FramesRendered() >= *first + m_heardDelayFrames;
}

std::uint64_t PullOutput::DrainedAt() const {
    return m_soundEnd + m_heardDelayFrames + kDrainMargin.count() * m_synth.SampleRate() / 1000;
}

bool PullOutput::IsDrained() const {
    return m_synth.Idle() && m_synth.FramesRendered() >= DrainedAt();
}

bool PullOutput::Sounding() const {
    std::lock_guard lock(m_mutex);
    return IsSounding();
}

bool PullOutput::Drained() const {
    std::lock_guard lock(m_mutex);
    return IsDrained();
}

void PullOutput::Render(float* out, std::uint32_t frames) {
    bool news = false;
    {
        std::lock_guard lock(m_mutex);
        const std::uint64_t at = m_synth.FramesRendered();
        const std::uint64_t started = m_synth.TonesStarted();
        const bool idle = m_synth.Idle();
        m_synth.Render(out, frames);
        for (std::uint32_t n = frames; n > 0; --n) {
            if (out[n - 1] != 0.0f) {
                m_soundEnd = at + n;
                break;
            }
        }
        // Wake the waiters only for what they wait for: a tone begun, the sound ended, or the
        // first tone or the end of the sound on its way to being heard. Waking them every buffer
        // cost CPU for nothing.
        const auto onItsWay = [&](std::uint64_t heardAt) { return at < heardAt + frames; };
        const std::optional<std::uint64_t> first = m_synth.FirstToneFrame();
        news = m_synth.TonesStarted() != started || m_synth.Idle() != idle ||
               (first && onItsWay(*first + m_heardDelayFrames)) ||
               (m_synth.Idle() && onItsWay(DrainedAt()));
    }
    if (news) m_changed.notify_all();
}

void PullOutput::Fail() {
    m_failed.store(true);
    std::lock_guard lock(m_mutex);
    m_changed.notify_all();
}

void PullOutput::Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    std::unique_lock lock(m_mutex);
    const std::uint64_t ticket = m_synth.Queue(hz, ms);
    // Return once the tone before this one has been rendered in full, that is when this one begins.
    m_changed.wait(lock, stop, [&] { return m_synth.TonesStarted() >= ticket || Failed(); });
}

void PullOutput::Silence() {
    std::lock_guard lock(m_mutex);
    m_synth.Stop();
    m_changed.notify_all();
}

void PullOutput::Drain(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, limit, [&] { return IsDrained() || Failed(); });
}

void PullOutput::WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, stop, limit, [&] { return IsSounding() || Failed(); });
}
