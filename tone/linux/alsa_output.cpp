#include "tone/linux/alsa_output.h"

#include <alsa/asoundlib.h>
#include <pthread.h>
#include <rtaudio/RtAudio.h>
#include <sched.h>

#include <atomic>

namespace {

// Short buffers, so that Stop is heard soon; a sound card without a server has no queue of its
// own to rewrite.
constexpr unsigned kBufferFrames = 256;  // 5.3 ms at 48 kHz
constexpr unsigned kBuffers = 4;
constexpr unsigned kRate = ToneSynth::kDefaultSampleRate;
// A stream that asks for more than this ahead of real time is not being played: its device died.
constexpr double kRunawaySeconds = 1.0;

// RtAudio's error callback carries no context; the one output of the process listens here.
std::atomic<AlsaOutput*> g_output{nullptr};

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
    if (AlsaOutput* output = g_output.load()) output->Fail();
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

// A rendered sample is heard once it has been pushed out of the device's buffers.
AlsaOutput::AlsaOutput() : PullOutput(kRate, kBufferFrames * kBuffers) {}

std::unique_ptr<AlsaOutput> AlsaOutput::Open(std::string& why) {
    snd_lib_error_set_handler(&QuietAlsa);
    std::unique_ptr<AlsaOutput> output(new AlsaOutput());
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
        audio->openStream(&out, nullptr, RTAUDIO_FLOAT32, kRate, &frames, &AlsaOutput::Callback,
                          output.get(), &options, &OnStreamError);
        audio->startStream();
        output->m_audio = std::move(audio);
    } catch (const RtAudioError& e) {
        why = "ALSA: " + e.getMessage();
        g_output.store(nullptr);
        return nullptr;
    }
    return output;
}

AlsaOutput::~AlsaOutput() {
    Shutdown(std::move(m_audio));
    g_output.store(nullptr);
}

int AlsaOutput::Callback(void* output, void*, unsigned int frames, double, unsigned int,
                         void* self) {
    constexpr int kAbortStream = 2;
    auto* out = static_cast<AlsaOutput*>(self);
    if (out->Failed()) return kAbortStream;
    const auto now = std::chrono::steady_clock::now();
    if (out->m_callbackFrames == 0) {
        out->m_callbackStart = now;
        TryRealtimePriority();
    }
    out->m_callbackFrames += frames;
    const double ahead = static_cast<double>(out->m_callbackFrames) / kRate -
                         std::chrono::duration<double>(now - out->m_callbackStart).count();
    if (ahead > kRunawaySeconds) {
        NotifyAlsaFailed();
        return kAbortStream;
    }
    out->Render(static_cast<float*>(output), frames);
    return 0;
}
