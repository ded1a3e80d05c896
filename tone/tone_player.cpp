#include "tone/tone_player.h"

#include <array>
#include <system_error>
#include <utility>

#include "base/prompt.h"
#include "base/resource_source.h"
#include "tone/tone_sink.h"

namespace {

bool InRange(std::int32_t value) { return value >= 0 && value <= kToneParamMax; }

// Ends a player: asks it to stop (which wakes its sink) and waits for its thread to finish.
// A player that already ended by itself is simply joined. Joining costs the caller no tone: every
// sink returns from Play within milliseconds of the stop request. And it keeps the speaker to
// one player: a player left to finish later could still sound or silence over the next one.
void EndPlayer(std::jthread& player) {
    if (player.joinable()) {
        player.request_stop();
        player.join();
    }
    player = std::jthread();
}

// A thread that cannot be created leaves the player empty: nothing plays, nothing is reported.
// `running` counts the player while its procedure runs.
template <typename Proc>
std::jthread StartPlayer(std::atomic<int>& running, Proc proc) {
    ++running;
    try {
        return std::jthread([&running, proc = std::move(proc)](std::stop_token stop) {
            proc(stop);
            --running;
        });
    } catch (const std::system_error&) {
        --running;
        return {};
    }
}

}  // namespace

CTonePlayer::CTonePlayer(ToneSink& sink, Prompt& prompt, const ResourceSource& resources)
    : m_sink(sink), m_prompt(prompt), m_resources(resources) {}

CTonePlayer::~CTonePlayer() {
    EndPlayer(m_melodyThread);
    EndPlayer(m_sweepThread);
}

const std::byte* CTonePlayer::LoadMelody(int id) {
    const std::span<const std::byte> bytes = m_resources.Find(kResourceTypeRcData, id);
    const std::byte* data = bytes.empty() ? nullptr : bytes.data();
    m_melodyWordCount.store(data ? static_cast<std::int32_t>(bytes.size() >> 1) : 0);
    m_melodyData.store(data);
    return data;
}

bool CTonePlayer::SetParams(std::int32_t& lower, std::int32_t& upper, std::int32_t& delay,
                            std::int32_t& step) {
    if (!InRange(lower) || !InRange(upper)) {
        m_prompt.ShowError("Frequency must range from 0 to 32767");
        return false;
    }
    if (!InRange(delay)) {
        m_prompt.ShowError("Delay must range from 0 to 32767");
        return false;
    }
    if (!InRange(step)) {
        m_prompt.ShowError("Step must range from 0 to 32767");
        return false;
    }
    if (lower > upper) std::swap(lower, upper);
    m_frequency1.store(lower);
    m_frequency2.store(upper);
    m_delay.store(delay);
    m_step.store(step);
    return true;
}

void CTonePlayer::StartSweep() {
    Stop();
    m_sweepThread = StartPlayer(m_runningPlayers,
                                [this](std::stop_token stop) { SweepThreadProc(this, stop); });
}

void CTonePlayer::StartMelody() {
    Stop();
    m_melodyThread = StartPlayer(m_runningPlayers,
                                 [this](std::stop_token stop) { MelodyThreadProc(this, stop); });
}

void CTonePlayer::Stop() {
    EndPlayer(m_melodyThread);
    EndPlayer(m_sweepThread);
    m_sink.Silence();
}

std::uint16_t CTonePlayer::GetMelodyWord(std::int32_t index) const {
    const std::byte* data = m_melodyData.load();
    if (!data || index < 0 || index >= m_melodyWordCount.load()) return 0;
    const auto low = std::to_integer<std::uint16_t>(data[2 * index]);
    const auto high = std::to_integer<std::uint16_t>(data[2 * index + 1]);
    return static_cast<std::uint16_t>(low | (high << 8));
}

bool CTonePlayer::SweepRefuses(const ToneParams& params) {
    return params.Frequency1 <= 0 || params.Frequency2 <= 0 || params.Step <= 0;
}

ToneParams CTonePlayer::GetParams() const {
    return {m_frequency1.load(), m_frequency2.load(), m_delay.load(), m_step.load()};
}

void CTonePlayer::PlayTone(CTonePlayer* self, std::uint32_t hz, std::uint32_t ms, int& silentRun,
                           std::stop_token stop) {
    self->m_sink.Play(hz, ms, stop);
    silentRun = ms == 0 ? silentRun + 1 : 0;
    if (silentRun == kSilentRunLength) {
        silentRun = 0;
        self->m_sink.Rest(kSilentRunRestMs, stop);
    }
}

std::uint32_t CTonePlayer::SweepThreadProc(CTonePlayer* self, std::stop_token stop) {
    std::int32_t frequency = self->m_frequency1.load();
    if (SweepRefuses({frequency, self->m_frequency2.load(), 0, self->m_step.load()})) {
        return kRefused;
    }
    int silentRun = 0;
    while (!stop.stop_requested()) {
        PlayTone(self, static_cast<std::uint32_t>(frequency),
                 static_cast<std::uint32_t>(self->m_delay.load()), silentRun, stop);
        frequency += self->m_step.load();
        if (frequency > self->m_frequency2.load()) frequency = self->m_frequency1.load();
    }
    return 0;
}

std::uint32_t CTonePlayer::MelodyThreadProc(CTonePlayer* self, std::stop_token stop) {
    std::int32_t count = self->m_melodyWordCount.load();
    if (count == 0) return kRefused;
    if (count > kMaxMelodyWords) count = kMaxMelodyWords;

    std::array<std::uint16_t, kMaxMelodyWords> melody{};
    for (std::int32_t i = 0; i < count; i += 2) {
        melody[i] = self->GetMelodyWord(i);
        melody[i + 1] =
            static_cast<std::uint16_t>(self->GetMelodyWord(i + 1) * kMelodyDurationUnitMs);
    }
    int silentRun = 0;
    while (!stop.stop_requested()) {
        for (std::int32_t j = 0; j < count && !stop.stop_requested(); j += 2) {
            PlayTone(self, melody[j], melody[j + 1], silentRun, stop);
        }
    }
    return 0;
}
