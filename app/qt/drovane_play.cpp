// drovane-play: plays the sweep or the test melody without a window, or renders it to a WAV file.
#include <pthread.h>

#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

#include "app/play_options.h"
#include "base/interruptible_wait.h"
#include "base/program_name.h"
#include "base/qt/replacing_file.h"
#include "base/stderr_prompt.h"
#include "res/embedded_resources.h"
#include "settings/qt/file_registry.h"
#include "settings/qt/qt_logon_entry.h"
#include "settings/registry_settings.h"
#include "tone/audio_tone_sink.h"
#include "tone/linux/linux_sound_output.h"
#include "tone/test_melody.h"
#include "tone/tone_player.h"
#include "tone/wav_tone_sink.h"

namespace {

constexpr int kBadUsage = 2;

// Blocks SIGINT and SIGTERM in every thread and turns them into a stop request, so that an
// interrupted run still stops the engine and ends its sound with a fade.
class InterruptWatcher {
public:
    InterruptWatcher() {
        sigemptyset(&m_signals);
        sigaddset(&m_signals, SIGINT);
        sigaddset(&m_signals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &m_signals, nullptr);
        m_thread = std::jthread([this](std::stop_token) {
            int signal = 0;
            sigwait(&m_signals, &signal);
            if (signal == SIGINT || signal == SIGTERM) m_interrupted.request_stop();
        });
    }
    ~InterruptWatcher() {
        // Wake the watcher if no signal came.
        if (!m_interrupted.stop_requested()) pthread_kill(m_thread.native_handle(), SIGTERM);
    }
    std::stop_token Token() const { return m_interrupted.get_token(); }

private:
    sigset_t m_signals;
    std::stop_source m_interrupted;
    std::jthread m_thread;
};

// The stored tone parameters, or the defaults when none are stored. Reading never writes.
ToneParams StoredParams(Prompt& prompt) {
    FileRegistry registry(FileRegistry::DefaultPath());
    QtLogonEntry logon(QtLogonEntry::DefaultPath());
    CRegistrySettings settings(registry, logon, prompt, {});
    ToneParams p;
    settings.LoadToneParams(p.Frequency1, p.Frequency2, p.Delay, p.Step);
    return p;
}

int ShowSettings() {
    StderrPrompt prompt(MessageName());
    const ToneParams p = StoredParams(prompt);
    const FileRegistry registry(FileRegistry::DefaultPath());
    const QByteArray path = registry.Path().toLocal8Bit();
    std::printf("Settings file: %s\n", path.constData());
    const std::string problem = registry.Problem();
    if (!problem.empty()) {
        std::printf("  The file %s; its values read as missing.\n", problem.c_str());
    } else if (!QFileInfo::exists(registry.Path())) {
        std::printf("  The file does not exist yet.\n");
    }
    std::printf("Frequency1: %d\nFrequency2: %d\nDelay: %d\nStep: %d\n", p.Frequency1, p.Frequency2,
                p.Delay, p.Step);
    QtLogonEntry logon(QtLogonEntry::DefaultPath());
    std::printf("Start at logon: %s (%s)\n", logon.Exists() ? "yes" : "no",
                logon.Path().toLocal8Bit().constData());
    return 0;
}

int Run(const PlayOptions& options) {
    StderrPrompt prompt(MessageName());
    // The melody does not use the tone parameters; only the sweep takes the stored ones.
    ToneParams params;
    if (options.command == PlayOptions::Command::Sweep) {
        params = StoredParams(prompt);
    } else {
        CRegistrySettings::GetDefaultToneParams(params.Frequency1, params.Frequency2, params.Delay,
                                                params.Step);
    }
    params.Frequency1 = options.from.value_or(params.Frequency1);
    params.Frequency2 = options.to.value_or(params.Frequency2);
    params.Delay = options.delay.value_or(params.Delay);
    params.Step = options.step.value_or(params.Step);

    InterruptWatcher interrupt;
    std::unique_ptr<ReplacingFile> file;
    std::unique_ptr<WavWriter> writer;
    std::unique_ptr<ToneSink> sink;
    WavToneSink* wavSink = nullptr;
    AudioToneSink* audioSink = nullptr;
    if (!options.wav.empty()) {
        file = std::make_unique<ReplacingFile>(QFile::decodeName(options.wav.c_str()));
        if (!file->IsOpen()) {
            prompt.ShowError("cannot write " + options.wav + ": " + file->Error());
            return 1;
        }
        writer = std::make_unique<WavWriter>(*file, ToneSynth::kDefaultSampleRate);
        const auto frames =
            static_cast<std::uint64_t>(*options.seconds * ToneSynth::kDefaultSampleRate + 0.5);
        auto wav = std::make_unique<WavToneSink>(*writer, frames);
        wavSink = wav.get();
        sink = std::move(wav);
    } else {
        auto audio = std::make_unique<AudioToneSink>(OpenLinuxSoundOutput);
        audioSink = audio.get();
        sink = std::move(audio);
    }

    EmbeddedResources resources;
    CTonePlayer player(*sink, prompt, resources);
    if (!player.SetParams(params.Frequency1, params.Frequency2, params.Delay, params.Step)) {
        return kBadUsage;
    }
    // A sweep that refuses its values plays nothing: its time passes in silence, as in the window.
    const bool silent = options.command == PlayOptions::Command::Sweep &&
                        CTonePlayer::SweepRefuses(player.GetParams());
    if (silent) {
        std::fprintf(stderr, "%s: a frequency or step of 0 plays no sweep: silence follows\n",
                     MessageName());
    } else if (options.command == PlayOptions::Command::Melody) {
        player.LoadMelody(IDR_TEST_MELODY);
        player.StartMelody();
    } else {
        player.StartSweep();
    }

    if (wavSink && silent) {
        wavSink->FillWithSilence();
    } else if (wavSink) {
        // An interrupted render keeps what it has: the file is finished all the same.
        static_cast<void>(wavSink->WaitUntilFull(interrupt.Token()));
    } else {
        audioSink->WaitUntilSounding(interrupt.Token(), std::chrono::seconds(5));
        if (options.seconds) {
            WaitFor(interrupt.Token(), std::chrono::duration<double>(*options.seconds));
        } else {
            WaitForStop(interrupt.Token());
        }
    }
    player.Stop();
    if (audioSink) audioSink->Drain(std::chrono::milliseconds(200));
    if (writer) {
        if (wavSink->WriteFailed() || !writer->Finish()) {
            prompt.ShowError("cannot write " + options.wav + ": " + writer->Error());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SetMessageName("drovane-play");
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const PlayParse parsed = ParsePlayArguments(args);
    if (!parsed.options) {
        std::fprintf(stderr, "%s: %s\n%s: 'drovane-play --help' lists the options\n", MessageName(),
                     parsed.error.c_str(), MessageName());
        return kBadUsage;
    }
    switch (parsed.options->command) {
        case PlayOptions::Command::Help:
            std::fputs(PlayUsage().c_str(), stdout);
            return 0;
        case PlayOptions::Command::Version:
            std::printf("drovane-play %s\n", DROVANE_VERSION);
            return 0;
        case PlayOptions::Command::Settings:
            return ShowSettings();
        default:
            return Run(*parsed.options);
    }
}
