#include "app/play_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

PlayParse Parse(std::vector<std::string_view> args) { return ParsePlayArguments(args); }

TEST(PlayOptions, ReadsEveryValueOfASweep) {
    const PlayParse p = Parse({"sweep", "--from", "100", "--to", "-5", "--delay", "0", "--step",
                               "7", "--seconds", "2.5", "--wav", "out.wav"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->command, PlayOptions::Command::Sweep);
    EXPECT_EQ(p.options->from, 100);
    EXPECT_EQ(p.options->to, -5) << "range checks belong to the engine, with its messages";
    EXPECT_EQ(p.options->delay, 0);
    EXPECT_EQ(p.options->step, 7);
    EXPECT_EQ(p.options->seconds, 2.5);
    EXPECT_EQ(p.options->wav, "out.wav");
}

TEST(PlayOptions, KeepsHugeNumbersOutOfRangeInsteadOfWrapping) {
    const PlayParse p = Parse({"sweep", "--from", "99999999999", "--to", "-99999999999"});
    ASSERT_TRUE(p.options);
    EXPECT_EQ(p.options->from, INT32_MAX);
    EXPECT_EQ(p.options->to, INT32_MIN);
}

TEST(PlayOptions, RefusesWhatItCannotUseWithAReason) {
    const std::vector<std::vector<std::string_view>> bad = {
        {},
        {"hum"},
        {"sweep", "--from"},
        {"sweep", "--from", "12x"},
        {"sweep", "--from", ""},
        {"sweep", "--delay", "1.5"},
        {"sweep", "--seconds", "-1"},
        {"sweep", "--seconds", "nan"},
        {"sweep", "--wav", "x.wav"},
        {"melody", "--from", "100"},
        {"sweep", "--volume", "11"},
        {"sweep", "--seconds", "2.5x"},
        {"sweep", "--seconds", "10000001"},
        {"sweep", "--wav", "", "--seconds", "1"},
        {"settings", "--from", "100"},
    };
    for (const auto& args : bad) {
        const PlayParse p = Parse(args);
        EXPECT_FALSE(p.options) << (args.empty() ? "(nothing)" : args.back());
        EXPECT_FALSE(p.error.empty());
    }
    EXPECT_EQ(Parse({"sweep", "--from"}).error, "--from needs a value");
}

TEST(PlayOptions, HelpAndVersionWinOverEverythingElse) {
    for (const std::string_view help : {"--help", "-h", "help"}) {
        EXPECT_EQ(Parse({help}).options->command, PlayOptions::Command::Help) << help;
    }
    EXPECT_EQ(Parse({"settings", "-h"}).options->command, PlayOptions::Command::Help);
    for (const std::string_view seconds : {"0", "10000000"}) {
        EXPECT_TRUE(Parse({"sweep", "--seconds", seconds}).options) << seconds;
    }
    EXPECT_NE(PlayUsage().find("(16000, 20000, 500 and 10"), std::string::npos) << PlayUsage();
    EXPECT_EQ(Parse({"sweep", "--from", "1", "-h"}).options->command, PlayOptions::Command::Help);
    EXPECT_EQ(Parse({"--version"}).options->command, PlayOptions::Command::Version);
    const PlayParse melody = Parse({"melody", "--seconds", "3"});
    ASSERT_TRUE(melody.options);
    EXPECT_EQ(melody.options->command, PlayOptions::Command::Melody);
    EXPECT_FALSE(melody.options->from);
}

}  // namespace

namespace {

TEST(PlayOptions, SettingsCommandTakesNoValues) {
    const PlayParse p = Parse({"settings"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->command, PlayOptions::Command::Settings);
    EXPECT_EQ(Parse({"settings", "--help"}).options->command, PlayOptions::Command::Help);
    EXPECT_FALSE(Parse({"settings", "--from", "100"}).options);
    EXPECT_FALSE(Parse({"sweep", "settings"}).options);
}

}  // namespace
