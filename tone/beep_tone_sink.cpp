#include "tone/beep_tone_sink.h"

#include <chrono>
#include <mutex>
#include <utility>

#include "base/interruptible_wait.h"

// One Play's tone, shared with the stop callback that may cut it from another thread.
struct BeepToneSink::PendingTone {
    std::mutex mutex;
    WakeFunction wake;
    bool started = false;  // Play is committed to calling Beep
    bool over = false;     // Beep has returned
};

BeepToneSink::BeepToneSink(BeepFunction beep, WakerFunction wakerOfThisThread)
    : m_beep(std::move(beep)), m_wakerOfThisThread(std::move(wakerOfThisThread)) {}

void BeepToneSink::PlayTone(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    const auto toneEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    PendingTone tone;
    tone.wake = m_wakerOfThisThread();
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
    if (stop.stop_requested()) {
        // The stop's silence call may have come before Beep started sounding the tone.
        m_beep(0, 0);
        return;
    }
    // A Beep that returns before its time (no beeper on 64-bit Windows Vista, a session without
    // sound, Wine) still takes the tone's length, or a player would spin through its tones.
    WaitUntil(stop, toneEnd);
    // Leaving the scope waits for a CutOff still running elsewhere.
}

void BeepToneSink::Silence() { m_beep(0, 0); }

void BeepToneSink::CutOff(PendingTone& tone) {
    std::lock_guard lock(tone.mutex);
    if (!tone.started || tone.over) return;
    m_beep(0, 0);
    // Beep(0, 0) silences the speaker but leaves the tone's thread waiting out the whole tone.
    tone.wake();
}
