#include "tone/wav_tone_sink.h"

#include <algorithm>

#include "base/interruptible_wait.h"

WavToneSink::WavToneSink(WavWriter& writer, std::uint64_t limitFrames, unsigned sampleRate)
    : m_writer(writer), m_synth(sampleRate), m_limit(limitFrames) {}

void WavToneSink::RenderFrames(std::uint64_t frames) {
    while (frames > 0 && !m_failed) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(frames, m_block.size()));
        m_synth.Render(m_block.data(), n);
        if (!m_writer.Write(m_block.data(), n)) m_failed = true;
        frames -= n;
    }
}

void WavToneSink::PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    std::unique_lock lock(m_mutex);
    const std::uint64_t ticket = m_synth.Queue(hz, ms);
    // As in real time: return when the tone before this one is over, that is when this one begins.
    while (m_synth.TonesStarted() < ticket && !Full()) {
        RenderFrames(std::min<std::uint64_t>(256, m_limit - m_synth.FramesRendered()));
    }
    m_changed.notify_all();
    if (Full()) {
        lock.unlock();
        WaitForStop(stop);
    }
}

void WavToneSink::Silence() {
    std::lock_guard lock(m_mutex);
    m_synth.Stop();
    while (!m_failed && !m_synth.Idle()) RenderFrames(1);
}

void WavToneSink::FillWithSilence() {
    std::lock_guard lock(m_mutex);
    if (!Full()) RenderFrames(m_limit - m_synth.FramesRendered());
    m_changed.notify_all();
}

bool WavToneSink::WaitUntilFull(std::stop_token stop) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait(lock, stop, [&] { return Full(); });
}

bool WavToneSink::WriteFailed() const {
    std::lock_guard lock(m_mutex);
    return m_failed;
}
