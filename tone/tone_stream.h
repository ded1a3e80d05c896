#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "tone/tone_synth.h"

// The sound a server holds for us, rendered well ahead of what is heard, and the changes that
// rewrite it in place. The synthesiser's state is saved at the start of each write, so any frame
// still queued at the server can be rendered again exactly: a stop fades out at a safe point past
// what is heard, a fresh start fades in there, and a tone queued after its place was rendered
// (tones shorter than the queue) is put back in its place, joined as if it had come in time.
// Frames are counted from the stream's start. Not thread-safe: the owner locks.
class ToneStream {
public:
    // A piece of sound to write at frame `at` over what was queued, up to the write index.
    struct Rewrite {
        std::uint64_t at = 0;
        std::vector<float> samples;
    };

    explicit ToneStream(unsigned sampleRate = ToneSynth::kDefaultSampleRate);

    // Renders the next `frames` at the write index, saving the synthesiser's state first.
    void Render(float* out, std::size_t frames);

    // True when a tone queued now must rewrite rendered sound: its place (with the glide that
    // leads into it) has already been rendered, or nothing sounds and it should start early.
    bool QueueNeedsRewrite() const;
    // Queues a tone. When its place was rendered, renders again from that place, or from `safe`
    // if its place lies before that, and returns the rewrite. The frame where the tone begins is
    // LastQueuedStart().
    std::optional<Rewrite> Queue(std::uint32_t hz, std::uint32_t ms, std::uint64_t safe);
    // Drops what is queued and fades out from `safe` (or from the write index if that is
    // earlier). Returns the rewrite, if any rendered sound changes.
    std::optional<Rewrite> Stop(std::uint64_t safe);
    // Forgets saved states that no rewrite can reach: those before the frame being heard.
    void Forget(std::uint64_t heard);

    std::uint64_t WriteIndex() const { return m_synth.FramesRendered(); }
    std::uint64_t LastQueuedStart() const { return m_synth.LastQueuedStart(); }
    // The frame after the last sound rendered (0 before any).
    std::uint64_t SoundEnd() const { return m_soundEnd; }
    // Nothing sounds, nothing is queued, and what is rendered has gone silent.
    bool Idle() const { return m_synth.Idle(); }
    std::size_t SavedStates() const { return m_saved.size(); }
    unsigned FadeFrames() const { return m_synth.FadeFrames(); }

private:
    // Brings the synthesiser back to frame `at` (no earlier than the oldest saved state).
    void ReplayTo(std::uint64_t at);
    // Renders from the synthesiser's frame up to `end` as a rewrite, saving the state first.
    Rewrite RenderUpTo(std::uint64_t end);
    // Where a tone queued now must be in place: its start less the glide that leads into it.
    std::uint64_t Lead() const;
    void NoteSound(const float* samples, std::size_t frames, std::uint64_t at);
    std::uint64_t Earliest(std::uint64_t safe) const;

    ToneSynth m_synth;
    std::deque<ToneSynth> m_saved;  // at the start of each write, oldest first
    // No rewrite goes before the last one that moved the timeline: a stop, or a tone that could
    // not begin in its place. A state saved before it would not know of it.
    std::uint64_t m_floor = 0;
    std::uint64_t m_soundEnd = 0;
    std::vector<float> m_scratch;
};
