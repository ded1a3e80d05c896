#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

// Turns a queue of tones into samples: one phase accumulator carried across tones (joins never
// click), tone lengths in exact samples (fractions carried, so no drift), a short raised-cosine
// glide of the frequency centred on each join (an instant change of frequency splatters energy
// into the audible band; the sweep's wrap from top to bottom ticked), and short raised-cosine fades
// only where sound starts from or stops into silence. Not thread-safe: the owner locks.
// A copy is a saved state: rendering the copy gives the same samples as the original would.
class ToneSynth {
public:
    static constexpr unsigned kDefaultSampleRate = 48000;
    // About -12 dBFS: loud enough to matter, kind to small tweeters.
    static constexpr float kDefaultLevel = 0.25f;
    static constexpr double kDefaultFadeMs = 4.0;
    // Half of a join's glide; shorter when a tone is too short to hold it.
    static constexpr double kGlideHalfMs = 2.0;
    // Tones below this sound as silence of their length (the lowest tone a PC speaker beeps).
    static constexpr std::uint32_t kLowestAudibleHz = 37;

    explicit ToneSynth(unsigned sampleRate = kDefaultSampleRate, float level = kDefaultLevel,
                       double fadeMs = kDefaultFadeMs);

    // Appends a tone to the timeline and returns its ticket (1, 2, 3, ...). A tone too low, or at
    // or above half the sample rate (which would alias), keeps its time as silence.
    std::uint64_t Queue(std::uint32_t hz, std::uint32_t ms);
    // The frame at which the tone queued last begins: where the timeline ended, or the next frame
    // to render when the synthesiser had run dry.
    std::uint64_t LastQueuedStart() const { return m_lastQueuedStart; }
    // The frame at which the queued timeline ends (in the past once the synthesiser ran dry; 0
    // after a stop, when there is nothing to continue).
    std::uint64_t TimelineEnd() const { return m_timelineEnd; }
    // Drops every queued tone and fades out what sounds. The timeline starts afresh.
    void Stop();
    // Writes `frames` mono samples.
    void Render(float* out, std::size_t frames);

    // Tickets of tones that have begun to sound (or, when silent, to take their time).
    std::uint64_t TonesStarted() const { return m_started; }
    // True when nothing sounds and nothing is queued.
    bool Idle() const { return !m_hasCurrent && m_queue.empty() && m_fadePos == 0; }
    unsigned SampleRate() const { return m_rate; }
    std::uint64_t FramesRendered() const { return m_framesRendered; }
    // The frame at which the very first tone began to sound, once it has.
    std::optional<std::uint64_t> FirstToneFrame() const { return m_firstToneFrame; }
    unsigned FadeFrames() const { return m_fadeFrames; }
    unsigned GlideHalfFrames() const { return m_glideHalfFrames; }

private:
    struct Tone {
        double increment;      // cycles per sample
        std::uint64_t frames;  // still to play
        std::uint64_t length;
        bool audible;
    };

    void StartGlideIfDue();
    double NextIncrement();

    unsigned m_rate;
    float m_level;
    unsigned m_fadeFrames;
    unsigned m_glideHalfFrames;

    std::deque<Tone> m_queue;
    Tone m_current{};
    bool m_hasCurrent = false;
    double m_soundingIncrement = 0;  // frequency of what is heard, kept through a fade-out
    double m_phase = 0;              // in cycles, 0..1
    unsigned m_fadePos = 0;          // 0 = silent, m_fadeFrames = full level
    double m_glideFrom = 0;
    double m_glideTo = 0;
    std::uint64_t m_glidePos = 0;
    std::uint64_t m_glideLength = 0;  // 0 = no glide under way

    std::uint64_t m_timelineMs = 0;      // length of the timeline queued since the last start
    std::uint64_t m_timelineFrames = 0;  // the same in whole frames, rounded down
    std::uint64_t m_timelineEnd = 0;     // absolute frame where the queued tones end
    std::uint64_t m_lastQueuedStart = 0;
    std::uint64_t m_queued = 0;
    std::uint64_t m_started = 0;
    std::uint64_t m_framesRendered = 0;
    std::optional<std::uint64_t> m_firstToneFrame;
};
