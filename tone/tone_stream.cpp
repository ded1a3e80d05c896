#include "tone/tone_stream.h"

#include <algorithm>

namespace {
// Saved states kept at most, should the frame heard never be reported: 64 writes of the usual
// 100 to 220 ms reach back more than 6 s.
constexpr std::size_t kMaxSaved = 64;
}  // namespace

ToneStream::ToneStream(unsigned sampleRate) : m_synth(sampleRate) {}

void ToneStream::NoteSound(const float* samples, std::size_t frames, std::uint64_t at) {
    for (std::size_t n = frames; n > 0; --n) {
        if (samples[n - 1] != 0.0f) {
            m_soundEnd = at + n;
            return;
        }
    }
}

void ToneStream::Render(float* out, std::size_t frames) {
    m_saved.push_back(m_synth);
    if (m_saved.size() > kMaxSaved) Forget(m_saved[1].FramesRendered());
    const std::uint64_t at = WriteIndex();
    m_synth.Render(out, frames);
    NoteSound(out, frames, at);
}

void ToneStream::Forget(std::uint64_t heard) {
    while (m_saved.size() >= 2 && m_saved[1].FramesRendered() <= heard) m_saved.pop_front();
}

std::uint64_t ToneStream::Earliest(std::uint64_t safe) const {
    std::uint64_t at = std::max(safe, m_floor);
    if (!m_saved.empty()) at = std::max(at, m_saved.front().FramesRendered());
    return at;
}

void ToneStream::ReplayTo(std::uint64_t at) {
    auto saved = std::find_if(m_saved.rbegin(), m_saved.rend(),
                              [at](const ToneSynth& s) { return s.FramesRendered() <= at; });
    m_synth = *saved;
    // That state knows every tone that sounds (or glides in) from it on: a tone queued in time
    // went in before the write that saved the next state, a late one came with a rewrite whose
    // state is saved at its lead, and one that moved the timeline set the floor.
    m_saved.erase(saved.base(), m_saved.end());
    m_scratch.resize(static_cast<std::size_t>(at - m_synth.FramesRendered()));
    m_synth.Render(m_scratch.data(), m_scratch.size());
}

ToneStream::Rewrite ToneStream::RenderUpTo(std::uint64_t end) {
    const std::uint64_t at = WriteIndex();
    m_saved.push_back(m_synth);
    Rewrite r{at, std::vector<float>(static_cast<std::size_t>(end - at))};
    m_synth.Render(r.samples.data(), r.samples.size());
    m_soundEnd = std::min(m_soundEnd, at);
    NoteSound(r.samples.data(), r.samples.size(), at);
    return r;
}

std::uint64_t ToneStream::Lead() const {
    const std::uint64_t end = m_synth.TimelineEnd();
    const unsigned half = m_synth.GlideHalfFrames();
    return end > half ? end - half : 0;
}

bool ToneStream::QueueNeedsRewrite() const { return Lead() < WriteIndex(); }

std::optional<ToneStream::Rewrite> ToneStream::Queue(std::uint32_t hz, std::uint32_t ms,
                                                     std::uint64_t safe) {
    const std::uint64_t end = WriteIndex();
    const std::uint64_t lead = Lead();
    const std::uint64_t at = std::max(lead, Earliest(safe));
    const bool late = QueueNeedsRewrite();
    const bool rewrite = late && at < end;
    if (rewrite) ReplayTo(at);
    // A tone that cannot join in its place begins at the safe point, or, when the server has
    // taken everything rendered, at the next write.
    if (late && at > lead) m_floor = std::min(at, end);
    m_synth.Queue(hz, ms);
    if (!rewrite) return std::nullopt;
    return RenderUpTo(end);
}

std::optional<ToneStream::Rewrite> ToneStream::Stop(std::uint64_t safe) {
    const std::uint64_t end = WriteIndex();
    const std::uint64_t at = Earliest(safe);
    if (m_synth.Idle() && m_soundEnd <= at) {
        m_synth.Stop();  // nothing to cut; the next timeline starts afresh
        return std::nullopt;
    }
    if (at >= end) {
        // The server has taken everything rendered: the next write carries the fade.
        m_synth.Stop();
        m_floor = end;
        return std::nullopt;
    }
    ReplayTo(at);
    m_synth.Stop();
    m_floor = at;
    return RenderUpTo(end);
}
