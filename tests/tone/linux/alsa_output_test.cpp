#include "tone/linux/alsa_output.h"

#include <alsa/asoundlib.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <numeric>
#include <thread>
#include <tuple>

namespace {

using namespace std::chrono_literals;

// The file device records into a pipe as small as a card's buffer, read in real time; alsa-lib's
// null device takes samples as fast as they come, as a card that died silently does.
TEST(AlsaOutputTest, PlaysTonesOnlyOnADeviceThatPlaysThemInRealTime) {
    const std::string config = testing::TempDir() + "alsa_output_test.conf",
                      pipe = testing::TempDir() + "alsa_output_test.pipe";
    std::remove(pipe.c_str());  // left by a run that failed
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    const std::string file = "{ type file slave.pcm { type null } format raw file '" + pipe + "' }";
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"", "(opening the default device)", true},  // alsa-lib's own words vary between versions
        {"pcm.!default { type null }", "", true},
        {"pcm.!default " + file, "", false},
    };
    const std::uint32_t tones[] = {1000, 3000};  // 200 ms each
    for (const auto& [device, expectedWhy, fails] : cases) {
        std::ofstream(config) << device;
        snd_config_update_free_global();  // alsa-lib reads its configuration once per process
        const int fd = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);  // the device opens the writer
        ASSERT_EQ(fcntl(fd, F_SETPIPE_SZ, 4096), 4096);            // 1024 frames, as asked for
        fcntl(fd, F_SETFL, 0);
        std::string why;
        auto output = AlsaOutput::Open(why);
        std::vector<float> played;
        std::jthread card([&] {  // the device writes whole samples, and reads take whole ones
            const auto start = std::chrono::steady_clock::now();
            float chunk[256];
            for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;) {
                played.insert(played.end(), chunk, chunk + got / sizeof(float));
                std::this_thread::sleep_until(start + played.size() * 1000000us / 48000);
            }
            close(fd);
        });
        EXPECT_TRUE(expectedWhy.empty() ? why.empty()
                                        : why.starts_with("ALSA: ") && why.ends_with(expectedWhy))
            << why;
        if (!output) continue;
        for (const std::uint32_t hz : tones) output->Play(hz, 200, {});
        std::this_thread::sleep_for(100ms);  // into the last tone, then a stop
        output->Silence();
        output->Drain(1s);
        EXPECT_EQ(output->Failed(), fails) << device;
        output.reset();
        card.join();
        if (fails) continue;

        const auto sound = [](float sample) { return sample != 0.0f; };
        const auto first = std::find_if(played.begin(), played.end(), sound);
        const auto end = std::find_if(played.rbegin(), played.rend(), sound).base();
        ASSERT_GT(end - first, 12000);
        const auto crossing = [](float a, float b) { return (a < 0) != (b < 0); };
        for (int n = 0; n < 2; ++n) {  // 50 ms from 5 ms into each tone, past its fade or glide
            const auto at = first + 240 + n * 9600;
            EXPECT_NEAR(std::inner_product(at, at + 2400, at + 1, 0, std::plus<>(), crossing),
                        tones[n] / 10, 2);  // two crossings a cycle
        }
        const auto louder = [](float a, float b) { return std::abs(a) < std::abs(b); };
        EXPECT_LT(std::abs(*std::max_element(end - 48, end, louder)), 0.25f / 4);  // a fade
    }
    unsetenv("ALSA_CONFIG_PATH");
    std::remove(config.c_str()), std::remove(pipe.c_str());
}

}  // namespace
