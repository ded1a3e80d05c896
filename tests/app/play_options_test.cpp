#include "app/play_options.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/window_options.h"

namespace {

PlayParse Parse(std::vector<std::string_view> args) { return ParsePlayArguments(args); }

TEST(PlayOptions, ReadsEveryValueOfASweep) {
    const PlayParse p = Parse({"sweep", "--from", "100", "--to", "32767", "--delay", "0", "--step",
                               "7", "--seconds", "2.5", "--wav", "out.wav"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->command, PlayOptions::Command::Sweep);
    EXPECT_EQ(p.options->from, 100);
    EXPECT_EQ(p.options->to, 32767);
    EXPECT_EQ(p.options->delay, 0);
    EXPECT_EQ(p.options->step, 7);
    EXPECT_EQ(p.options->seconds, 2.5);
    EXPECT_EQ(p.options->wav, "out.wav");
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
    // A value out of range is named by its option, whatever its size.
    for (const auto& [option, value] : {std::pair{"--to", "-5"},
                                        {"--from", "32768"},
                                        {"--delay", "99999999999"},
                                        {"--step", "-99999999999"}}) {
        EXPECT_EQ(Parse({"sweep", option, value}).error,
                  std::string(option) + " must range from 0 to 32767, not '" + value + "'");
    }
}

TEST(PlayOptions, HelpAndVersionWinOverEverythingElse) {
    for (const std::string_view help : {"--help", "-h", "help"}) {
        EXPECT_EQ(Parse({help}).options->command, PlayOptions::Command::Help) << help;
    }
    EXPECT_EQ(Parse({"settings", "-h"}).options->command, PlayOptions::Command::Help);
    for (const std::string_view seconds : {"0", "10000000"}) {
        EXPECT_TRUE(Parse({"sweep", "--seconds", seconds}).options) << seconds;
    }
    // One option a line, with its default.
    for (const std::string_view line :
         {"\n  --from HZ      lowest frequency, 0 to 32767 (stored; at first 16000)\n",
          "\n  --step HZ      distance between tones, 0 to 32767 (stored; at first 10)\n"}) {
        EXPECT_NE(PlayUsage().find(line), std::string::npos) << line;
    }
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

TEST(WindowOptions, HelpAndVersionEndBeforeTheWindowAndEverythingElseIsQts) {
    const std::vector<std::pair<std::vector<std::string_view>, WindowCommand>> cases = {
        {{"-platform", "offscreen"}, WindowCommand::Run},
        {{"-platform", "xcb", "-h", "--version"}, WindowCommand::Help},
        {{"-style", "fusion", "--version"}, WindowCommand::Version},
        {{"--versions", "-help"}, WindowCommand::Run},
    };
    for (const auto& [args, command] : cases) {
        EXPECT_EQ(ParseWindowArguments(args), command) << args.back();
    }
    EXPECT_NE(WindowUsage().find("/issues\n"), std::string::npos) << "where bugs go";
}

}  // namespace
