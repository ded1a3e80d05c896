#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "tone/tone_sink.h"

// Records the engine's sink calls. Each Play advances a fake clock by its length and returns at
// once, except that after `holdAfter` plays it blocks until the player is stopped, which lets a
// test catch the engine in the middle of a tone.
class RecordingToneSink final : public ToneSink {
public:
    struct Call {
        bool silence = false;
        std::uint32_t hz = 0;
        std::uint32_t ms = 0;
        bool rest = false;
        friend bool operator==(const Call&, const Call&) = default;
    };

    void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) override;
    void Silence() override;
    // Recorded, and the fake clock moves on; returns at once.
    void Rest(std::uint32_t ms, std::stop_token stop) override;

    // Plays beyond this many block until stopped or until a larger limit is set (100000 unless
    // set).
    void HoldAfter(std::size_t plays);
    // Waits until at least `count` plays were recorded; false on timeout.
    bool WaitForPlays(std::size_t count,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Marks the moment after which no Play may come (the engine has stopped); counts offenders.
    void SetClosed(bool closed);

    std::vector<Call> Calls() const;
    std::vector<Call> Plays() const;
    // For each rest, how many plays came before it.
    std::vector<std::size_t> PlaysBeforeRests() const;
    std::size_t PlayCount() const;
    std::size_t PlaysWhileClosed() const;
    std::uint64_t ElapsedMs() const;
    bool Playing() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::vector<Call> m_calls;
    std::size_t m_plays = 0;
    std::size_t m_holdAfter = 100000;  // keeps a runaway player from filling memory
    std::size_t m_playsWhileClosed = 0;
    std::uint64_t m_elapsedMs = 0;
    bool m_closed = false;
    int m_inPlay = 0;
};
