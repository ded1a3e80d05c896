#include "tone/linux/alsa_output.h"

#include <alsa/asoundlib.h>
#include <pthread.h>
#include <rtaudio/RtAudio.h>
#include <sched.h>

#include <atomic>
#include <optional>
#include <thread>

namespace {

// Short buffers, so that Stop is heard soon; a sound card without a server has no queue of its
// own to rewrite.
constexpr unsigned kBufferFrames = 256;  // 5.3 ms at 48 kHz
constexpr unsigned kBuffers = 4;
// A stream that asks for more than this ahead of real time is not being played: its device died.
constexpr double kRunawaySeconds = 1.0;

// RtAudio's error callback carries no context; the one output of the process listens here.
std::atomic<AlsaOutput*> g_output{nullptr};
std::atomic<bool> g_failed{false};

void Shutdown(std::unique_ptr<RtAudio> audio) {
    if (!audio) return;
    try {
        if (audio->isStreamRunning()) audio->abortStream();
        if (audio->isStreamOpen()) audio->closeStream();
    } catch (const RtAudioError&) {
    }
}

// ALSA prints its own configuration errors on standard error; the sink reports failures itself.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void NotifyAlsaFailed() {
    g_failed.store(true);
    if (AlsaOutput* output = g_output.load()) output->m_changed.notify_all();
}

namespace {
// RtAudio reports a failed write as a warning, and an underrun (which it recovers from) in the
// same words: only the other errors mean the device is gone.
void OnStreamError(RtAudioError::Type type, const std::string& text) {
    const bool warning = type == RtAudioError::WARNING || type == RtAudioError::DEBUG_WARNING;
    if (warning && text.find("error") == std::string::npos) return;
    if (warning && text.find("write error, underrun") != std::string::npos) return;
    NotifyAlsaFailed();
}

// Real-time scheduling keeps the short buffers fed on a busy machine. Where the user may not have
// it, the thread simply stays at normal priority.
void TryRealtimePriority() {
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_RR) + 10;
    pthread_setschedparam(pthread_self(), SCHED_RR, &param);
}
}  // namespace

AlsaOutput::AlsaOutput() = default;

std::unique_ptr<AlsaOutput> AlsaOutput::Open(std::string& why) {
    snd_lib_error_set_handler(&QuietAlsa);
    std::unique_ptr<AlsaOutput> output(new AlsaOutput());
    g_failed.store(false);
    try {
        auto audio = std::make_unique<RtAudio>(RtAudio::LINUX_ALSA);
        audio->showWarnings(false);
        if (audio->getDeviceCount() == 0) {
            why = "ALSA: no output device";
            return nullptr;
        }
        RtAudio::StreamParameters out;
        out.deviceId = audio->getDefaultOutputDevice();
        out.nChannels = 1;
        RtAudio::StreamOptions options;
        options.streamName = "Drovane";
        options.numberOfBuffers = kBuffers;
        unsigned frames = kBufferFrames;
        g_output.store(output.get());
        audio->openStream(&out, nullptr, RTAUDIO_FLOAT32, output->m_synth.SampleRate(), &frames,
                          &AlsaOutput::Callback, output.get(), &options, &OnStreamError);
        audio->startStream();
        std::lock_guard lock(output->m_mutex);
        output->m_audio = std::move(audio);
    } catch (const RtAudioError& e) {
        why = "ALSA: " + e.getMessage();
        g_output.store(nullptr);
        return nullptr;
    }
    return output;
}

AlsaOutput::~AlsaOutput() {
    std::unique_ptr<RtAudio> audio;
    {
        std::lock_guard lock(m_mutex);
        audio = std::move(m_audio);
    }
    Shutdown(std::move(audio));
    g_output.store(nullptr);
}

bool AlsaOutput::Failed() const { return g_failed.load(); }

void AlsaOutput::Play(std::uint32_t hz, std::uint32_t ms, std::stop_token stop) {
    std::unique_lock lock(m_mutex);
    const std::uint64_t ticket = m_synth.Queue(hz, ms);
    // Return once the tone before this one has been heard in full, that is when this one begins.
    m_changed.wait(lock, stop, [&] { return m_synth.TonesStarted() >= ticket || g_failed.load(); });
}

void AlsaOutput::Silence() {
    std::lock_guard lock(m_mutex);
    m_synth.Stop();
    m_changed.notify_all();
}

void AlsaOutput::Drain(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, limit, [&] { return m_synth.Idle() || g_failed.load(); });
    lock.unlock();
    // What the callback rendered last is still in the device's buffers.
    const unsigned queuedMs = 1000 * kBufferFrames * kBuffers / m_synth.SampleRate();
    std::this_thread::sleep_for(std::chrono::milliseconds(queuedMs + 10));
}

void AlsaOutput::WaitUntilSounding(std::stop_token stop, std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    // The first tone is heard once the frames rendered after it have pushed it out of the buffers.
    m_changed.wait_for(lock, stop, limit, [&] {
        const std::optional<std::uint64_t> first = m_synth.FirstToneFrame();
        return g_failed.load() ||
               (first && m_synth.FramesRendered() >= *first + kBufferFrames * kBuffers);
    });
}

int AlsaOutput::Callback(void* output, void*, unsigned int frames, double, unsigned int,
                         void* self) {
    constexpr int kAbortStream = 2;
    auto* out = static_cast<AlsaOutput*>(self);
    if (g_failed.load()) return kAbortStream;
    const auto now = std::chrono::steady_clock::now();
    if (out->m_callbackFrames == 0) {
        out->m_callbackStart = now;
        TryRealtimePriority();
    }
    out->m_callbackFrames += frames;
    const double ahead = static_cast<double>(out->m_callbackFrames) / out->m_synth.SampleRate() -
                         std::chrono::duration<double>(now - out->m_callbackStart).count();
    if (ahead > kRunawaySeconds) {
        NotifyAlsaFailed();
        return kAbortStream;
    }
    bool news = false;
    {
        std::lock_guard lock(out->m_mutex);
        ToneSynth& synth = out->m_synth;
        const std::uint64_t started = synth.TonesStarted();
        const bool idle = synth.Idle();
        synth.Render(static_cast<float*>(output), frames);
        // Wake the waiters only for what they wait for: a tone begun, the sound ended, or the
        // first tone on its way out of the buffers. Waking them every buffer cost CPU for nothing.
        const std::optional<std::uint64_t> first = synth.FirstToneFrame();
        news = synth.TonesStarted() != started || synth.Idle() != idle ||
               (first && synth.FramesRendered() - frames < *first + kBufferFrames * (kBuffers + 1));
    }
    if (news) out->m_changed.notify_all();
    return 0;
}
