#include "tone/linux/alsa_output.h"

#include <alsa/asoundlib.h>
#include <pthread.h>
#include <sched.h>

#include <cerrno>
#include <chrono>
#include <vector>

namespace {

// Short periods, so that a stop is heard soon: a sound card without a server has no queue of its
// own to rewrite.
constexpr snd_pcm_uframes_t kPeriodFrames = 256;  // 5.3 ms at 48 kHz
constexpr unsigned kPeriods = 4;
constexpr unsigned kRate = ToneSynth::kDefaultSampleRate;
// A device that takes frames this far ahead of real time is not playing them: it died silently.
constexpr double kRunawaySeconds = 1.0;

// ALSA prints its own configuration errors on standard error; the sink reports failures itself.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

// Runs the device's setup step by step, and keeps the step that failed for the reason given.
class Setup {
public:
    bool Step(const char* what, int result) {
        if (result < 0) {
            m_what = what;
            m_error = result;
        }
        return result >= 0;
    }
    std::string Why() const {
        return std::string("ALSA: ") + snd_strerror(m_error) + " (" + m_what + ")";
    }

private:
    const char* m_what = "";
    int m_error = 0;
};

// What the device granted.
struct Layout {
    unsigned rate = kRate;
    snd_pcm_uframes_t period = kPeriodFrames;
    snd_pcm_uframes_t buffer = 0;
};

// Mono float samples, which alsa-lib converts and resamples when the card wants something else.
bool SetHardware(snd_pcm_t* pcm, Layout& layout, Setup& setup) {
    snd_pcm_hw_params_t* hw = nullptr;
    snd_pcm_hw_params_alloca(&hw);
    unsigned periods = kPeriods;
    return setup.Step("reading its abilities", snd_pcm_hw_params_any(pcm, hw)) &&
           setup.Step("allowing resampling", snd_pcm_hw_params_set_rate_resample(pcm, hw, 1)) &&
           setup.Step("setting the access",
                      snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) &&
           setup.Step("setting float samples",
                      snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_FLOAT)) &&
           setup.Step("setting one channel", snd_pcm_hw_params_set_channels(pcm, hw, 1)) &&
           setup.Step("setting the rate",
                      snd_pcm_hw_params_set_rate_near(pcm, hw, &layout.rate, nullptr)) &&
           setup.Step("setting the period",
                      snd_pcm_hw_params_set_period_size_near(pcm, hw, &layout.period, nullptr)) &&
           setup.Step("setting the periods",
                      snd_pcm_hw_params_set_periods_near(pcm, hw, &periods, nullptr)) &&
           setup.Step("applying the hardware setup", snd_pcm_hw_params(pcm, hw)) &&
           setup.Step("reading the period",
                      snd_pcm_hw_params_get_period_size(hw, &layout.period, nullptr)) &&
           setup.Step("reading the buffer", snd_pcm_hw_params_get_buffer_size(hw, &layout.buffer));
}

// Playback starts once a period is written, and a blocking write returns as soon as one has played.
bool SetSoftware(snd_pcm_t* pcm, const Layout& layout, Setup& setup) {
    snd_pcm_sw_params_t* sw = nullptr;
    snd_pcm_sw_params_alloca(&sw);
    return setup.Step("reading the software setup", snd_pcm_sw_params_current(pcm, sw)) &&
           setup.Step("setting the start",
                      snd_pcm_sw_params_set_start_threshold(pcm, sw, layout.period)) &&
           setup.Step("setting the wake-up",
                      snd_pcm_sw_params_set_avail_min(pcm, sw, layout.period)) &&
           setup.Step("applying the software setup", snd_pcm_sw_params(pcm, sw));
}

// Real-time scheduling keeps the short periods fed on a busy machine. Where the user may not have
// it, the thread simply stays at normal priority.
void TryRealtimePriority() {
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_RR) + 10;
    pthread_setschedparam(pthread_self(), SCHED_RR, &param);
}

// Underruns and suspends are passing; so is a signal that cuts a wait short.
bool Passing(snd_pcm_sframes_t error) {
    return error == -EPIPE || error == -ESTRPIPE || error == -EINTR;
}

bool RunsAhead(std::uint64_t frames, unsigned rate, std::chrono::steady_clock::time_point start) {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<double>(frames) / rate - elapsed.count() > kRunawaySeconds;
}

}  // namespace

void AlsaOutput::PcmCloser::operator()(snd_pcm_t* pcm) const {
    snd_pcm_drop(pcm);  // closing would otherwise wait for the queued sound to play out
    snd_pcm_close(pcm);
}

// A rendered sample is heard once the device has played its full buffer after it.
AlsaOutput::AlsaOutput(Pcm pcm, unsigned rate, std::uint32_t periodFrames,
                       std::uint32_t bufferFrames)
    : PullOutput(rate, bufferFrames),
      m_pcm(std::move(pcm)),
      m_rate(rate),
      m_periodFrames(periodFrames) {}

// The thread stops first (see the members' order), within a period.
AlsaOutput::~AlsaOutput() = default;

std::unique_ptr<AlsaOutput> AlsaOutput::Open(std::string& why) {
    snd_lib_error_set_handler(&QuietAlsa);
    Setup setup;
    snd_pcm_t* opened = nullptr;
    // Opened without blocking, so that a device busy with another program refuses at once; the
    // writes then block, which paces the thread.
    const bool ok =
        setup.Step("opening the default device",
                   snd_pcm_open(&opened, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK));
    Pcm pcm(ok ? opened : nullptr);
    Layout layout;
    if (!ok || !setup.Step("switching to blocking writes", snd_pcm_nonblock(pcm.get(), 0)) ||
        !SetHardware(pcm.get(), layout, setup) || !SetSoftware(pcm.get(), layout, setup)) {
        why = setup.Why();
        return nullptr;
    }
    std::unique_ptr<AlsaOutput> output(new AlsaOutput(std::move(pcm), layout.rate,
                                                      static_cast<std::uint32_t>(layout.period),
                                                      static_cast<std::uint32_t>(layout.buffer)));
    output->m_thread =
        std::jthread([self = output.get()](std::stop_token stop) { self->Run(stop); });
    return output;
}

void AlsaOutput::Run(std::stop_token stop) {
    TryRealtimePriority();
    std::vector<float> period(m_periodFrames);
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t frames = 0;
    while (!stop.stop_requested()) {
        Render(period.data(), m_periodFrames);
        const bool written = WritePeriod(period.data(), stop);
        frames += m_periodFrames;
        if (!written || RunsAhead(frames, m_rate, start)) {
            Fail();
            return;
        }
    }
}

// Blocks while the device's buffer is full, so a stop request is seen within a period. False
// once the device is gone (unplugged: -ENODEV, -EBADFD, -EIO) or cannot recover.
bool AlsaOutput::WritePeriod(const float* samples, std::stop_token stop) {
    snd_pcm_uframes_t left = m_periodFrames;
    while (left > 0 && !stop.stop_requested()) {
        const snd_pcm_sframes_t written = snd_pcm_writei(m_pcm.get(), samples, left);
        if (written >= 0) {
            samples += written;
            left -= static_cast<snd_pcm_uframes_t>(written);
        } else if (!Passing(written) ||
                   snd_pcm_recover(m_pcm.get(), static_cast<int>(written), 1 /*silent*/) < 0) {
            return false;
        }
    }
    return true;
}
