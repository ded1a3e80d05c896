#include <gtest/gtest.h>

#include <random>

#include "tests/support/fake_resources.h"
#include "tests/support/recording_tone_sink.h"
#include "tests/support/scripted_prompt.h"
#include "tone/tone_player.h"

namespace {

// Random commands from the user-interface thread while players run. Run under TSan this finds
// unsynchronised parameters; everywhere it finds deadlocks and players that outlive Stop.
TEST(TonePlayerStress, TenThousandRandomCommandsWhilePlayersRun) {
    RecordingToneSink sink;
    ScriptedPrompt prompt;
    FakeResources resources;
    resources.AddWords(139, {600, 1, 700, 0, 800, 2});
    CTonePlayer player(sink, prompt, resources);
    player.LoadMelody(139);

    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> command(0, 3);
    std::uniform_int_distribution<std::int32_t> value(-2, 40);
    std::size_t stops = 0;
    for (int i = 0; i < 10000; ++i) {
        switch (command(random)) {
            case 0: {
                std::int32_t f1 = value(random), f2 = value(random), d = value(random) % 3,
                             s = value(random);
                // Random values: a refusal is one of the commands.
                static_cast<void>(player.SetParams(f1, f2, d, s));
                break;
            }
            case 1:
                sink.SetClosed(false);
                player.StartSweep();
                break;
            case 2:
                sink.SetClosed(false);
                player.StartMelody();
                break;
            case 3:
                player.Stop();
                sink.SetClosed(true);
                ++stops;
                break;
        }
    }
    player.Stop();
    sink.SetClosed(true);
    EXPECT_GT(stops, 2000u);
    EXPECT_EQ(sink.PlaysWhileClosed(), 0u) << "a player called the sink after Stop returned";
    EXPECT_FALSE(sink.Playing());
}

}  // namespace
