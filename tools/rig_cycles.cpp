// rig-cycles: stops and starts the default sweep through the real audio sink, as the window's Stop
// and Start buttons do, and prints the wall-clock time of every stop request, so that a recording
// can be measured against them. The time each sweep sounds varies, so the stops fall anywhere in a
// tone.
//   rig-cycles CYCLES [SILENCE_MS]
#include <time.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <string_view>

#include "base/interruptible_wait.h"
#include "base/resource_source.h"
#include "base/stderr_prompt.h"
#include "tone/audio_tone_sink.h"
#include "tone/tone_player.h"
#include "tools/platform_output.h"

namespace {

class NoResources final : public ResourceSource {
public:
    std::span<const std::byte> Find(std::string_view, int) const override { return {}; }
};

int Number(const char* text, int fallback) {
    int v = fallback;
    const std::string_view s(text);
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("Usage: rig-cycles CYCLES [SILENCE_MS]\n", stderr);
        return 2;
    }
    const int cycles = Number(argv[1], 0);
    const int silenceMs = argc > 2 ? Number(argv[2], 200) : 200;
    AudioToneSink sink(OpenPlatformOutput);
    StderrPrompt prompt("rig-cycles");
    NoResources resources;
    CTonePlayer player(sink, prompt, resources);
    std::int32_t f1 = 16000, f2 = 20000, delay = 500, step = 10;
    if (!player.SetParams(f1, f2, delay, step)) return 2;
    unsigned seed = 12345;
    for (int i = 0; i < cycles; ++i) {
        player.StartSweep();
        sink.WaitUntilSounding({}, std::chrono::seconds(5));
        seed = seed * 1103515245u + 12345u;
        WaitFor({}, std::chrono::milliseconds(150 + (seed >> 16) % 600));
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        player.Stop();
        std::printf("stop %lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        std::fflush(stdout);
        WaitFor({}, std::chrono::milliseconds(silenceMs));
    }
    sink.Drain(std::chrono::milliseconds(500));
    return 0;
}
