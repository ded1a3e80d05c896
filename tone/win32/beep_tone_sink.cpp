#include "tone/win32/beep_tone_sink.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "base/interruptible_wait.h"

// One Play's tone, shared with the stop callback that may cut it from another thread.
struct BeepToneSink::PendingTone {
    std::mutex mutex;
    std::condition_variable ended;
    bool started = false;  // Play is committed to calling Beep
    bool over = false;     // Beep has returned
};

BeepToneSink::BeepToneSink(BeepFunction beep, std::chrono::milliseconds cutPersistence)
    : m_beep(std::move(beep)), m_cutPersistence(cutPersistence) {}

void BeepToneSink::SystemBeep(std::uint32_t hz, std::uint32_t ms) {
    // A tone the platform refuses simply takes no time; there is nothing to report.
    static_cast<void>(::Beep(hz, ms));
}

void BeepToneSink::PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    const auto toneEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    PendingTone tone;
    // Runs at once, on this thread, if the stop came before it was registered.
    std::stop_callback cut(stop, [this, &tone] { CutOff(tone); });
    {
        // Decided under the lock: CutOff either sees the tone started or knows it never will.
        std::lock_guard lock(tone.mutex);
        if (stop.stop_requested()) return;
        tone.started = true;
    }
    m_beep(hz, ms);
    {
        std::lock_guard lock(tone.mutex);
        tone.over = true;
    }
    tone.ended.notify_all();
    // A Beep that returns before its time (no beeper on 64-bit Windows Vista, a session without
    // sound, Wine) still takes the tone's length, or a player would spin through its tones.
    WaitUntil(stop, toneEnd);
    // Leaving the scope waits for a CutOff still running elsewhere; it ends within one wait step.
}

void BeepToneSink::Silence() { m_beep(0, 0); }

void BeepToneSink::CutOff(PendingTone& tone) {
    constexpr std::chrono::milliseconds kRetry{2};
    const auto giveUp = std::chrono::steady_clock::now() + m_cutPersistence;
    std::unique_lock lock(tone.mutex);
    if (!tone.started) return;
    while (!tone.over && std::chrono::steady_clock::now() < giveUp) {
        lock.unlock();
        m_beep(0, 0);
        lock.lock();
        tone.ended.wait_for(lock, kRetry, [&tone] { return tone.over; });
    }
}
