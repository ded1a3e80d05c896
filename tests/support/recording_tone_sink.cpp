#include "tests/support/recording_tone_sink.h"

void RecordingToneSink::Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    std::unique_lock lock(m_mutex);
    m_calls.push_back({false, hz, ms});
    ++m_plays;
    if (m_closed) ++m_playsWhileClosed;
    m_elapsedMs += ms;
    m_changed.notify_all();
    const std::size_t index = m_plays;
    ++m_inPlay;
    m_changed.wait(lock, stop, [&] { return index <= m_holdAfter; });
    --m_inPlay;
    m_changed.notify_all();
}

void RecordingToneSink::Silence() {
    std::lock_guard lock(m_mutex);
    m_calls.push_back({true, 0, 0});
}

void RecordingToneSink::Rest(std::uint32_t ms, std::stop_token) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back({false, 0, ms, true});
    m_elapsedMs += ms;
}

std::vector<std::size_t> RecordingToneSink::PlaysBeforeRests() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::size_t> counts;
    std::size_t plays = 0;
    for (const Call& c : m_calls) {
        if (c.rest) counts.push_back(plays);
        if (!c.rest && !c.silence) ++plays;
    }
    return counts;
}

void RecordingToneSink::HoldAfter(std::size_t plays) {
    std::lock_guard lock(m_mutex);
    m_holdAfter = plays;
    m_changed.notify_all();
}

bool RecordingToneSink::WaitForPlays(std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_plays >= count; });
}

void RecordingToneSink::SetClosed(bool closed) {
    std::lock_guard lock(m_mutex);
    m_closed = closed;
}

std::vector<RecordingToneSink::Call> RecordingToneSink::Calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::vector<RecordingToneSink::Call> RecordingToneSink::Plays() const {
    std::lock_guard lock(m_mutex);
    std::vector<Call> plays;
    for (const Call& c : m_calls)
        if (!c.silence && !c.rest) plays.push_back(c);
    return plays;
}

std::size_t RecordingToneSink::PlayCount() const {
    std::lock_guard lock(m_mutex);
    return m_plays;
}

std::size_t RecordingToneSink::PlaysWhileClosed() const {
    std::lock_guard lock(m_mutex);
    return m_playsWhileClosed;
}

std::uint64_t RecordingToneSink::ElapsedMs() const {
    std::lock_guard lock(m_mutex);
    return m_elapsedMs;
}

bool RecordingToneSink::Playing() const {
    std::lock_guard lock(m_mutex);
    return m_inPlay > 0;
}
