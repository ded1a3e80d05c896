#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <thread>

#include "tone/tone_params.h"

class Prompt;
class ResourceSource;
class ToneSink;

// The tone engine: a sweep player and a melody player, at most one running at a time.
// Every operation is called from one (the user-interface) thread; players run on their own threads.
class CTonePlayer {
public:
    static constexpr std::int32_t kMaxMelodyWords = 2500;
    static constexpr std::uint32_t kMelodyDurationUnitMs = 10;
    // What a player returns when it refuses to play.
    static constexpr std::uint32_t kRefused = 0xFFFFFFFF;
    // Tones of no length take no time: after this many in a row a player rests for
    // kSilentRunRestMs, so that a Delay of 0 costs no more than an idle program.
    static constexpr int kSilentRunLength = 500;
    static constexpr std::uint32_t kSilentRunRestMs = 100;

    CTonePlayer(ToneSink& sink, Prompt& prompt, const ResourceSource& resources);
    CTonePlayer(const CTonePlayer&) = delete;
    CTonePlayer& operator=(const CTonePlayer&) = delete;
    // Stops any running player, so that no thread outlives the engine and its sink.
    virtual ~CTonePlayer();

    // Locates the RCDATA resource `id` and makes it the melody. Returns its data, or null (and a
    // word count of 0) when it is missing.
    const std::byte* LoadMelody(int id);
    // Checks the four values (messages through the prompt), orders the frequencies in the
    // caller's variables and stores them. Returns false, changing nothing, on the first bad value.
    [[nodiscard]] bool SetParams(std::int32_t& lower, std::int32_t& upper, std::int32_t& delay,
                                 std::int32_t& step);
    void StartSweep();
    void StartMelody();
    // Returns with no player thread left and nothing sounding; never waits for a tone in progress.
    void Stop();
    // The 16-bit word at `index` of the melody, or 0 outside it.
    std::uint16_t GetMelodyWord(std::int32_t index) const;

    // True while a player's thread runs: from a start until the player is stopped, or until it
    // ended by itself (a player that refuses to play ends at once).
    bool IsPlayerRunning() const { return m_runningPlayers.load() > 0; }

    ToneParams GetParams() const;
    // True when the sweep would refuse to play with `params` (a frequency or step of 0 or less):
    // it then ends at once and plays nothing.
    static bool SweepRefuses(const ToneParams& params);
    std::int32_t GetMelodyWordCount() const { return m_melodyWordCount.load(); }

private:
    static std::uint32_t SweepThreadProc(CTonePlayer* self, std::stop_token stop);
    static std::uint32_t MelodyThreadProc(CTonePlayer* self, std::stop_token stop);
    // Plays one tone through the sink, resting after a run of tones of no length.
    static void PlayTone(CTonePlayer* self, std::uint32_t hz, std::uint32_t ms, int& silentRun,
                         std::stop_token stop);

    ToneSink& m_sink;
    Prompt& m_prompt;
    const ResourceSource& m_resources;

    std::atomic<const std::byte*> m_melodyData{nullptr};
    std::atomic<std::int32_t> m_melodyWordCount{0};
    std::jthread m_melodyThread;
    std::jthread m_sweepThread;
    std::atomic<int> m_runningPlayers{0};

    // Read afresh by the sweep at every step, while the user-interface thread may store new values.
    std::atomic<std::int32_t> m_frequency1{0};
    std::atomic<std::int32_t> m_frequency2{0};
    std::atomic<std::int32_t> m_delay{0};
    std::atomic<std::int32_t> m_step{0};
};
