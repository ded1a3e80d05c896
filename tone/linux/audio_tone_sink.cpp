#include "tone/linux/audio_tone_sink.h"

#include <alsa/asoundlib.h>
#include <pthread.h>
#include <rtaudio/RtAudio.h>
#include <sched.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

// Our queue in the server: short, so that Stop is heard soon, yet long enough to ride out a busy
// machine (at 2.7 ms buffers two busy loops caused hundreds of dropouts in 10 s).
constexpr unsigned kBufferFrames = 256;  // 5.3 ms at 48 kHz
constexpr unsigned kBuffers = 4;
// A stream that asks for more than this ahead of real time is not being played: its server died.
constexpr double kRunawaySeconds = 1.0;

// RtAudio's error callback carries no context; the one sink of the process listens here.
std::atomic<AudioToneSink*> g_sink{nullptr};
std::atomic<bool> g_streamFailed{false};

void OnStreamError(RtAudioError::Type type, const std::string&);

void Shutdown(std::unique_ptr<RtAudio> audio) {
    if (!audio) return;
    try {
        if (audio->isStreamRunning()) audio->abortStream();
        if (audio->isStreamOpen()) audio->closeStream();
    } catch (const RtAudioError&) {
    }
}

// ALSA prints its own configuration errors on standard error; we report failures ourselves.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void NotifyStreamFailed() {
    g_streamFailed.store(true);
    if (AudioToneSink* sink = g_sink.load()) sink->m_changed.notify_all();
}

namespace {
// RtAudio reports a failed write to a server that went away only as a warning.
void OnStreamError(RtAudioError::Type type, const std::string& text) {
    const bool warning = type == RtAudioError::WARNING || type == RtAudioError::DEBUG_WARNING;
    if (warning && text.find("error") == std::string::npos) return;
    NotifyStreamFailed();
}

// Real-time scheduling keeps the short queue fed on a busy machine. Where the user may not have
// it, the thread simply stays at normal priority.
void TryRealtimePriority() {
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_RR) + 10;
    pthread_setschedparam(pthread_self(), SCHED_RR, &param);
}
}  // namespace

AudioToneSink::AudioToneSink() {
    snd_lib_error_set_handler(&QuietAlsa);
    g_sink.store(this);
    std::lock_guard lock(m_mutex);
    TryOpen();
}

AudioToneSink::~AudioToneSink() {
    std::unique_ptr<RtAudio> audio;
    {
        std::lock_guard lock(m_mutex);
        audio = TakeStream();
    }
    Shutdown(std::move(audio));
    g_sink.store(nullptr);
}

bool AudioToneSink::TryOpen() {
    m_nextRetry = std::chrono::steady_clock::now() + kRetryInterval;
    g_streamFailed.store(false);
    std::string why;
    for (RtAudio::Api api : {RtAudio::LINUX_PULSE, RtAudio::LINUX_ALSA}) {
        try {
            auto audio = std::make_unique<RtAudio>(api);
            audio->showWarnings(false);
            if (audio->getDeviceCount() == 0) {
                if (why.empty())
                    why = RtAudio::getApiDisplayName(api) + ": no sound server or output device";
                continue;
            }
            RtAudio::StreamParameters out;
            out.deviceId = audio->getDefaultOutputDevice();
            out.nChannels = 1;
            RtAudio::StreamOptions options;
            options.streamName = "Drovane";
            options.numberOfBuffers = kBuffers;
            unsigned frames = kBufferFrames;
            audio->openStream(&out, nullptr, RTAUDIO_FLOAT32, m_synth.SampleRate(), &frames,
                              &AudioToneSink::Callback, this, &options, &OnStreamError);
            m_callbackFrames = 0;
            audio->startStream();
            m_audio = std::move(audio);
            m_open = true;
            if (m_reported) {
                std::fprintf(stderr, "drovane: sound output is back (%s)\n", ApiName().c_str());
                m_reported = false;
            }
            return true;
        } catch (const RtAudioError& e) {
            // The first API's reason is the telling one: PulseAudio is what desktops run.
            if (why.empty()) why = RtAudio::getApiDisplayName(api) + ": " + e.getMessage();
        }
    }
    ReportOnce(why);
    return false;
}

std::unique_ptr<RtAudio> AudioToneSink::TakeStream() {
    m_open = false;
    return std::move(m_audio);
}

void AudioToneSink::ReportOnce(const std::string& why) {
    if (m_reported) return;
    m_reported = true;
    std::fprintf(stderr,
                 "drovane: cannot open sound output (%s); keeping time silently and retrying "
                 "every %lld s\n",
                 why.c_str(), static_cast<long long>(kRetryInterval.count()));
}

void AudioToneSink::DropFailedStream(std::unique_lock<std::mutex>& lock) {
    if (!m_open || !g_streamFailed.load()) return;
    std::unique_ptr<RtAudio> dead = TakeStream();
    m_synth.Stop();
    lock.unlock();
    Shutdown(std::move(dead));
    lock.lock();
    ReportOnce("the sound output failed");
}

void AudioToneSink::Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    if (ms == 0 || stop.stop_requested()) return;
    std::unique_lock lock(m_mutex);
    DropFailedStream(lock);
    if (!m_open && std::chrono::steady_clock::now() >= m_nextRetry) TryOpen();
    if (!m_open) {
        // Keep the tone's time on the clock, so the player neither spins nor drifts.
        m_changed.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
        return;
    }
    const std::uint64_t ticket = m_synth.Queue(hz, ms);
    // Return once the tone before this one has been heard in full, that is when this one begins.
    m_changed.wait(lock, stop, [&] {
        return m_synth.TonesStarted() >= ticket || !m_open || g_streamFailed.load();
    });
}

void AudioToneSink::Silence() {
    std::lock_guard lock(m_mutex);
    m_synth.Stop();
    m_changed.notify_all();
}

void AudioToneSink::Drain(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    if (!m_open) return;
    m_changed.wait_for(lock, limit, [&] { return m_synth.Idle() || !m_open; });
    lock.unlock();
    // What the callback rendered last is still in the server's short queue.
    const unsigned queuedMs = 1000 * kBufferFrames * kBuffers / m_synth.SampleRate();
    std::this_thread::sleep_for(std::chrono::milliseconds(queuedMs + 10));
}

void AudioToneSink::WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    // The first tone is heard once the frames rendered after it have pushed it out of our queue.
    m_changed.wait_for(lock, stop, limit, [&] {
        const std::optional<std::uint64_t> first = m_synth.FirstToneFrame();
        return !m_open || (first && m_synth.FramesRendered() >= *first + kBufferFrames * kBuffers);
    });
}

std::string AudioToneSink::ApiName() const {
    return m_audio ? RtAudio::getApiDisplayName(m_audio->getCurrentApi()) : "none";
}

int AudioToneSink::Callback(void* output, void*, unsigned int frames, double, unsigned int,
                            void* self) {
    constexpr int kAbortStream = 2;
    auto* sink = static_cast<AudioToneSink*>(self);
    if (g_streamFailed.load()) return kAbortStream;
    const auto now = std::chrono::steady_clock::now();
    if (sink->m_callbackFrames == 0) {
        sink->m_callbackStart = now;
        TryRealtimePriority();
    }
    sink->m_callbackFrames += frames;
    const double ahead = static_cast<double>(sink->m_callbackFrames) / sink->m_synth.SampleRate() -
                         std::chrono::duration<double>(now - sink->m_callbackStart).count();
    if (ahead > kRunawaySeconds) {
        NotifyStreamFailed();
        return kAbortStream;
    }
    bool news = false;
    {
        std::lock_guard lock(sink->m_mutex);
        ToneSynth& synth = sink->m_synth;
        const std::uint64_t started = synth.TonesStarted();
        const bool idle = synth.Idle();
        synth.Render(static_cast<float*>(output), frames);
        // Wake the waiters only for what they wait for: a tone begun, the sound ended, or the
        // first tone on its way out of the queue. Waking them every buffer cost CPU for nothing.
        const std::optional<std::uint64_t> first = synth.FirstToneFrame();
        news = synth.TonesStarted() != started || synth.Idle() != idle ||
               (first && synth.FramesRendered() - frames < *first + kBufferFrames * (kBuffers + 1));
    }
    if (news) sink->m_changed.notify_all();
    return 0;
}
