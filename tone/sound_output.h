#pragma once

#include <chrono>
#include <cstdint>
#include <stop_token>
#include <string>

// One open way to the speakers for the audio sink: a sound server's stream, or a sound card.
// Play, Drain and WaitUntilSounding may wait; they return early when the output fails.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Queues a tone and returns when it begins to be heard (the tone before it has been heard in
    // full), or at once on `stop`.
    virtual void Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) = 0;
    // Fades out what sounds as soon as it safely can, and drops what is queued.
    virtual void Silence() = 0;
    // Waits, at most `limit`, until all sound queued has been heard.
    virtual void Drain(std::chrono::milliseconds limit) = 0;
    // Waits, at most `limit`, until the first tone has begun to be heard.
    virtual void WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) = 0;
    // True once the output cannot play any more (its server went away).
    virtual bool Failed() const = 0;
    virtual std::string Name() const = 0;
};
