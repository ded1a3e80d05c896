#include "ui/repeller_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "settings/registry_settings.h"
#include "tests/support/fake_resources.h"
#include "tests/support/memory_registry.h"
#include "tests/support/recording_shell.h"
#include "tests/support/recording_tone_sink.h"
#include "tests/support/scripted_prompt.h"
#include "tests/ui/fake_dialog_view.h"
#include "tests/ui/recording_tray_host.h"
#include "tone/tone_player.h"
#include "ui/dialog_ids.h"
#include "ui/system_tray.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kMelodyHz = 440;
constexpr char kProductKey[] = "SOFTWARE\\Corvell\\Drovane";
constexpr char kModulePath[] = "/opt/drovane/bin/drovane";
constexpr char kProductPage[] = "file:///opt/drovane/share/drovane/page/index.html";

enum class Engine { Silent, Sweep, Melody };

class RepellerDialogTest : public ::testing::Test {
protected:
    RepellerDialogTest() {
        // Every player plays one tone and then holds it until it is stopped, so a test sees
        // which player runs and whether it was started anew.
        sink.HoldAfter(0);
        resources.AddWords(139, {kMelodyHz, 10, kMelodyHz, 10});
        view.journal = &journal;
        trayHost.journal = &journal;
        for (int id : {ids::kFrequency1, ids::kFrequency2, ids::kDelay, ids::kStep}) {
            view.texts[id] = "";
        }
    }

    void Open() {
        EXPECT_TRUE(dialog.OnInitDialog()) << "the system puts the focus on the first control";
        Settle();
    }

    // Waits until the engine has settled: a player holds its tone, or no player runs (none was
    // started, or the one started refused and ended by itself). Bounded at 10 s.
    void Settle() {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!sink.Playing() && player.IsPlayerRunning() &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
    }

    Engine EngineState() const {
        if (!sink.Playing()) return Engine::Silent;
        return sink.Plays().back().hz == kMelodyHz ? Engine::Melody : Engine::Sweep;
    }

    void StoreParams(const char* f1, const char* f2, const char* delay, const char* step) {
        registry.Put(RegistryRoot::LocalMachine, kProductKey, "Frequency1", f1);
        registry.Put(RegistryRoot::LocalMachine, kProductKey, "Frequency2", f2);
        registry.Put(RegistryRoot::LocalMachine, kProductKey, "Delay", delay);
        registry.Put(RegistryRoot::LocalMachine, kProductKey, "Step", step);
    }
    std::string Stored(const char* name) {
        return registry.ReadValue(RegistryRoot::LocalMachine, kProductKey, name).value_or("");
    }
    int Saves() const {
        return static_cast<int>(
            std::count_if(registry.log.begin(), registry.log.end(), [](auto& l) {
                return l.rfind("write ", 0) == 0 && l.find("Frequency1=") != std::string::npos;
            }));
    }

    RecordingToneSink sink;
    ScriptedPrompt prompt;
    FakeResources resources;
    MemoryRegistry registry;
    MemoryLogonEntry logon;
    CRegistrySettings settings{registry, logon, prompt, kModulePath};
    CTonePlayer player{sink, prompt, resources};
    std::vector<std::string> journal;
    FakeDialogView view;
    RecordingTrayHost trayHost;
    CSystemTray tray;
    RecordingShell shell;
    CRepellerDialog dialog{view, player, settings, prompt, tray, trayHost, shell, kProductPage};
};

// --- Opening ------------------------------------------------------------------------------------

TEST_F(RepellerDialogTest, OpensFoldedShowsStoredValuesAddsTheTrayIconAndSweeps) {
    StoreParams("17000", "19000", "250", "20");
    Open();

    // Folded, with the settings hidden.
    const std::vector<std::string> expected{"size 331x220",
                                            "region 1,1,330,219",
                                            "show 6=0",
                                            "show 7=0",
                                            "show 3=0",
                                            "show 4=0",
                                            "show 1002=0",
                                            "show 1003=0",
                                            "show 1004=0",
                                            "show 1005=0",
                                            "text 1002=0",
                                            "text 1003=0",
                                            "text 1004=0",
                                            "text 1005=0",
                                            "check 1006=0",
                                            "add 165 Drovane",
                                            "text 1002=17000",
                                            "text 1003=19000",
                                            "text 1004=250",
                                            "text 1005=20",
                                            "check 1006=0",
                                            "text 1002=17000",
                                            "text 1003=19000",
                                            "text 1004=250",
                                            "text 1005=20",
                                            "check 1006=0",
                                            "system menu 16=&About Drovane...",
                                            "icons",
                                            "mark",
                                            "load banner GIF 168",
                                            "start banner"};
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(EngineState(), Engine::Sweep);
    EXPECT_EQ(sink.Plays().front().hz, 17000u);
    EXPECT_EQ(sink.Plays().front().ms, 250u);
    EXPECT_TRUE(tray.Enabled());
    EXPECT_EQ(dialog.OnUpdateCommand(ids::kStart), true);
    EXPECT_EQ(dialog.OnUpdateCommand(ids::kStop), false);
    EXPECT_EQ(dialog.OnUpdateCommand(ids::kOpen), std::nullopt);
    EXPECT_TRUE(prompt.errors.empty());
}

TEST_F(RepellerDialogTest, FirstRunShowsPlaysAndStoresTheDefaults) {
    Open();
    EXPECT_EQ(view.texts[ids::kFrequency1], "16000");
    EXPECT_EQ(view.texts[ids::kFrequency2], "20000");
    EXPECT_EQ(view.texts[ids::kDelay], "500");
    EXPECT_EQ(view.texts[ids::kStep], "10");
    EXPECT_EQ(Stored("Frequency1"), "16000");
    EXPECT_EQ(Stored("Step"), "10");
    EXPECT_EQ(sink.Plays().front().hz, 16000u);
}

TEST_F(RepellerDialogTest, StoredValueOutOfRangeIsRefusedWithStartStillChecked) {
    StoreParams("16000", "40000", "500", "10");
    Open();
    EXPECT_EQ(prompt.errors, std::vector<std::string>{"Frequency must range from 0 to 32767"});
    EXPECT_EQ(EngineState(), Engine::Silent);
    EXPECT_EQ(view.texts[ids::kFrequency2], "40000");
    EXPECT_EQ(Stored("Frequency2"), "40000");  // nothing was written over it
    EXPECT_EQ(Saves(), 0);
    EXPECT_EQ(dialog.OnUpdateCommand(ids::kStart), true);

    view.texts[ids::kFrequency2] = "20000";
    dialog.OnCommand(ids::kSet);
    Settle();
    EXPECT_EQ(EngineState(), Engine::Sweep);
    EXPECT_EQ(Stored("Frequency2"), "20000");
}

TEST_F(RepellerDialogTest, RunAtLogonEntryChecksTheBoxWhenOpening) {
    logon.entry = "/somewhere/else";
    Open();
    EXPECT_EQ(view.checks[ids::kRunAtLogon], 1);
    EXPECT_EQ(dialog.RunAtLogonCheck, 1);
}

// --- The state table ----------------------------------------------------------------------------

enum class State { Sweeping, Stopped, TestingResume, TestingOnly, Refused };
enum class Command { Start, Stop, TestSound, StopTest, Set, Default };

struct Cell {
    State from;
    Command command;
    bool sweep;
    bool test;
    Engine engine;
    std::uint32_t newToneHz;  // first tone of a player started by the command; 0 for none
    int saves;
};

// The edits hold 17000 as lower frequency when each command is given; the defaults have 16000.
const Cell kTable[] = {
    {State::Sweeping, Command::Start, true, false, Engine::Sweep, 17000, 1},
    {State::Sweeping, Command::Stop, false, false, Engine::Silent, 0, 0},
    {State::Sweeping, Command::TestSound, true, true, Engine::Melody, kMelodyHz, 0},
    {State::Sweeping, Command::StopTest, true, false, Engine::Sweep, 0, 0},
    {State::Sweeping, Command::Set, true, false, Engine::Sweep, 17000, 2},
    {State::Sweeping, Command::Default, true, false, Engine::Sweep, 16000, 2},

    {State::Stopped, Command::Start, true, false, Engine::Sweep, 17000, 1},
    {State::Stopped, Command::Stop, false, false, Engine::Silent, 0, 0},
    {State::Stopped, Command::TestSound, false, true, Engine::Melody, kMelodyHz, 0},
    {State::Stopped, Command::StopTest, false, false, Engine::Silent, 0, 0},
    {State::Stopped, Command::Set, false, false, Engine::Silent, 0, 1},
    {State::Stopped, Command::Default, false, false, Engine::Silent, 0, 1},

    {State::TestingResume, Command::Start, true, true, Engine::Melody, 0, 1},
    {State::TestingResume, Command::Stop, false, true, Engine::Melody, 0, 0},
    {State::TestingResume, Command::TestSound, true, true, Engine::Melody, kMelodyHz, 0},
    {State::TestingResume, Command::StopTest, true, false, Engine::Sweep, 17000, 1},
    {State::TestingResume, Command::Set, true, true, Engine::Melody, 0, 2},
    {State::TestingResume, Command::Default, true, true, Engine::Melody, 0, 2},

    {State::TestingOnly, Command::Start, true, true, Engine::Melody, 0, 1},
    {State::TestingOnly, Command::Stop, false, true, Engine::Melody, 0, 0},
    {State::TestingOnly, Command::TestSound, false, true, Engine::Melody, kMelodyHz, 0},
    {State::TestingOnly, Command::StopTest, false, false, Engine::Silent, 0, 0},
    {State::TestingOnly, Command::Set, false, true, Engine::Melody, 0, 1},
    {State::TestingOnly, Command::Default, false, true, Engine::Melody, 0, 1},

    {State::Refused, Command::Start, true, false, Engine::Sweep, 17000, 1},
    {State::Refused, Command::Stop, false, false, Engine::Silent, 0, 0},
    {State::Refused, Command::TestSound, true, true, Engine::Melody, kMelodyHz, 0},
    {State::Refused, Command::StopTest, true, false, Engine::Silent, 0, 0},
    {State::Refused, Command::Set, true, false, Engine::Sweep, 17000, 2},
    {State::Refused, Command::Default, true, false, Engine::Sweep, 16000, 2},
};

class StateTableTest : public RepellerDialogTest, public ::testing::WithParamInterface<Cell> {
protected:
    void Enter(State state) {
        if (state == State::Refused) StoreParams("16000", "40000", "500", "10");
        Open();
        if (state == State::Stopped || state == State::TestingOnly) dialog.OnStop();
        if (state == State::TestingResume || state == State::TestingOnly) dialog.OnTestSound();
        Settle();
        // The user's corrected or new values, not applied yet.
        view.texts[ids::kFrequency1] = "17000";
        view.texts[ids::kFrequency2] = "20000";
    }
    void Give(Command command) {
        const int ids[] = {ids::kStart,    ids::kStop, ids::kTestSound,
                           ids::kStopTest, ids::kSet,  ids::kDefault};
        view.announced.clear();
        ASSERT_TRUE(dialog.OnCommand(ids[static_cast<int>(command)]));
        Settle();
    }
};

TEST_P(StateTableTest, CommandLeadsToTheStateOfTheTable) {
    const Cell& cell = GetParam();
    Enter(cell.from);
    const std::size_t playsBefore = sink.PlayCount();
    const std::size_t callsBefore = sink.Calls().size();
    const int savesBefore = Saves();
    prompt.errors.clear();

    Give(cell.command);

    EXPECT_EQ(dialog.OnUpdateCommand(ids::kStart), cell.sweep) << "Start checked while wanted";
    EXPECT_EQ(dialog.TestPlaying(), cell.test);
    EXPECT_EQ(EngineState(), cell.engine);
    EXPECT_EQ(Saves() - savesBefore, cell.saves);
    EXPECT_TRUE(prompt.errors.empty());
    const auto plays = sink.Plays();
    if (cell.newToneHz == 0) {
        EXPECT_EQ(plays.size(), playsBefore) << "a player was started";
    } else {
        ASSERT_EQ(plays.size(), playsBefore + 1);
        EXPECT_EQ(plays.back().hz, cell.newToneHz);
    }
    EXPECT_EQ(dialog.OnUpdateCommand(ids::kStart), cell.sweep);
    EXPECT_EQ(dialog.OnUpdateCommand(ids::kStop), !cell.sweep);
    const char* playing = cell.test    ? "test sound playing"
                          : cell.sweep ? "sweep playing"
                                       : "stopped";
    EXPECT_EQ(view.announced, std::vector<std::string>{playing}) << "a screen reader is told once";
    if (cell.command == Command::StopTest && cell.from != State::TestingResume &&
        cell.from != State::TestingOnly) {
        EXPECT_EQ(sink.Calls().size(), callsBefore) << "Stop Test without a test touched the sink";
    }
    if (cell.from == State::Stopped && cell.command == Command::Stop) {
        EXPECT_EQ(sink.Calls().size(), callsBefore + 1);
        EXPECT_TRUE(sink.Calls().back().silence);
    }
}

std::string CellName(const ::testing::TestParamInfo<Cell>& info) {
    const char* states[] = {"Sweeping", "Stopped", "TestingResume", "TestingOnly", "Refused"};
    const char* commands[] = {"Start", "Stop", "TestSound", "StopTest", "Set", "Default"};
    return std::string(states[static_cast<int>(info.param.from)]) + "_" +
           commands[static_cast<int>(info.param.command)];
}

INSTANTIATE_TEST_SUITE_P(EveryCell, StateTableTest, ::testing::ValuesIn(kTable), CellName);

// --- Failures -----------------------------------------------------------------------------------

TEST_F(RepellerDialogTest, EmptyEditStopsTheExchangeThereAndChangesNothing) {
    Open();
    const std::size_t plays = sink.PlayCount();
    view.texts[ids::kFrequency1] = "17000";
    view.texts[ids::kFrequency2] = "";
    view.texts[ids::kDelay] = "300";
    dialog.OnCommand(ids::kStart);
    Settle();

    EXPECT_EQ(prompt.errors, std::vector<std::string>{"Please enter an integer."});
    EXPECT_EQ(view.announced, std::vector<std::string>{}) << "the message says what happened";
    EXPECT_EQ(view.focus, ids::kFrequency2);
    EXPECT_EQ(dialog.Frequency1, 17000);  // read before the bad edit
    EXPECT_EQ(dialog.Delay, 500);         // never reached
    EXPECT_EQ(sink.PlayCount(), plays);
    EXPECT_EQ(EngineState(), Engine::Sweep);
    EXPECT_EQ(Stored("Frequency1"), "16000");
}

TEST_F(RepellerDialogTest, ValueOutOfRangeKeepsTheEnginePlaying) {
    Open();
    const std::size_t plays = sink.PlayCount();
    view.texts[ids::kDelay] = "40000";
    dialog.OnCommand(ids::kSet);
    Settle();
    EXPECT_EQ(prompt.errors, std::vector<std::string>{"Delay must range from 0 to 32767"});
    EXPECT_EQ(sink.PlayCount(), plays);
    EXPECT_EQ(EngineState(), Engine::Sweep);
    EXPECT_EQ(player.GetParams(), (ToneParams{16000, 20000, 500, 10}));
    EXPECT_EQ(Stored("Delay"), "500");
}

TEST_F(RepellerDialogTest, SwappedFrequenciesAreShownStoredAndPlayedInOrder) {
    Open();
    view.texts[ids::kFrequency1] = "20000";
    view.texts[ids::kFrequency2] = "16000";
    dialog.OnCommand(ids::kStart);
    Settle();
    EXPECT_EQ(view.texts[ids::kFrequency1], "16000");
    EXPECT_EQ(view.texts[ids::kFrequency2], "20000");
    EXPECT_EQ(Stored("Frequency1"), "16000");
    EXPECT_EQ(Stored("Frequency2"), "20000");
    EXPECT_EQ(sink.Plays().back().hz, 16000u);
}

TEST(ParseDialogIntegerTest, AcceptsOnlyWholeDecimalIntegersThatFit) {
    EXPECT_EQ(ParseDialogInteger("16000"), 16000);
    EXPECT_EQ(ParseDialogInteger("  42 "), 42);
    EXPECT_EQ(ParseDialogInteger("-7"), -7);
    EXPECT_EQ(ParseDialogInteger("+7"), 7);
    EXPECT_EQ(ParseDialogInteger("+0"), 0);
    EXPECT_EQ(ParseDialogInteger("+9"), 9);
    EXPECT_EQ(ParseDialogInteger("\t5\r\n"), 5) << "tabs and line ends are blanks too";
    EXPECT_EQ(ParseDialogInteger("\n5\t"), 5);
    EXPECT_EQ(ParseDialogInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseDialogInteger(""), std::nullopt);
    EXPECT_EQ(ParseDialogInteger("   "), std::nullopt);
    EXPECT_EQ(ParseDialogInteger("12ab"), std::nullopt);
    EXPECT_EQ(ParseDialogInteger("1 2"), std::nullopt);
    EXPECT_EQ(ParseDialogInteger("+-3"), std::nullopt);
    EXPECT_EQ(ParseDialogInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseDialogInteger("99999999999999999999"), std::nullopt);
}

// --- Window commands ----------------------------------------------------------------------------

TEST_F(RepellerDialogTest, CloseHidesOpenShowsAndBringsForward) {
    Open();
    view.log.clear();
    dialog.OnClose();
    dialog.OnCommand(ids::kOpen);
    dialog.OnCommand(ids::kClose);
    EXPECT_EQ(view.log,
              (std::vector<std::string>{"window hide", "window normal", "front", "window hide"}));
    EXPECT_EQ(EngineState(), Engine::Sweep);
}

TEST_F(RepellerDialogTest, WithoutATrayClosingMinimisesSoTheWindowStaysReachable) {
    Open();
    view.trayAvailable = false;
    dialog.OnClose();
    EXPECT_EQ(view.shown, WindowShow::Minimize);
}

TEST_F(RepellerDialogTest, ExitAsksAndEndsOnlyOnYesEscapeEndsWithoutAsking) {
    Open();
    prompt.answers = {false};
    dialog.OnCommand(ids::kExit);
    EXPECT_EQ(prompt.questions, std::vector<std::string>{"Do you really want to exit program?"});
    EXPECT_FALSE(view.destroyed);
    EXPECT_EQ(EngineState(), Engine::Sweep);

    prompt.answers = {true};
    dialog.OnCommand(ids::kExit);
    EXPECT_TRUE(view.destroyed);

    view.destroyed = false;
    prompt.questions.clear();
    dialog.OnCancel();
    EXPECT_TRUE(view.destroyed);
    EXPECT_TRUE(prompt.questions.empty());
}

TEST_F(RepellerDialogTest, OnlyItsOwnCommandsAreHandled) {
    Open();
    prompt.answers = {false};
    for (const int command :
         {ids::kOpen, ids::kClose, ids::kRunAtLogon, ids::kDetails, ids::kExit}) {
        EXPECT_TRUE(dialog.OnCommand(command)) << command;
    }
    EXPECT_FALSE(dialog.OnCommand(57670)) << "the framework's Help has no handler here";
    EXPECT_FALSE(dialog.OnCommand(-1));
}

// A new density folds the settings by the new font's measure, and loads the banner again, which
// starts only if it loads.
TEST_F(RepellerDialogTest, ANewDensityRescalesTheFoldAndReloadsTheBanner) {
    Open();
    for (const bool loads : {true, false}) {
        view.reference = {view.reference.width * 2, view.reference.height * 2};
        view.bannerLoads = loads;
        view.log.clear();
        dialog.OnDensityChanged();
        const std::vector<std::string> banner{"load banner GIF 168", "start banner"};
        EXPECT_EQ(view.log, std::vector<std::string>(banner.begin(), banner.end() - !loads));
    }
    const DialogScale scale(view.reference);
    const int before = view.size.height;
    dialog.OnCommand(ids::kDetails);
    EXPECT_EQ(view.size.height - before, scale.Y(CRepellerDialog::kInitialDetailsHeight));
}

// --- Run at logon -------------------------------------------------------------------------------

TEST_F(RepellerDialogTest, CheckBoxWritesAndRemovesTheLogonEntry) {
    Open();
    view.checks[ids::kRunAtLogon] = 1;
    dialog.OnCommand(ids::kRunAtLogon);
    EXPECT_EQ(logon.entry, std::string(kModulePath));
    view.checks[ids::kRunAtLogon] = 0;
    dialog.OnCommand(ids::kRunAtLogon);
    EXPECT_EQ(logon.entry, std::nullopt);
}

// An entry that cannot be written (a full disk) or removed: the box shows what is there.
TEST_F(RepellerDialogTest, CheckBoxShowsTheEntryThatIsThereWhenItCannotFollow) {
    const struct {
        bool entryBefore, writeFails, removeFails;
        int box, shown;
        std::vector<std::string> errors;
    } cases[] = {
        {false, true, false, 1, 0, {"Cannot set program run on startup"}},
        {true, false, true, 0, 1, {}},
        {false, false, false, 1, 1, {}},
    };
    Open();
    for (const auto& c : cases) {
        logon.entry = c.entryBefore ? std::optional<std::string>(kModulePath) : std::nullopt;
        logon.writeFails = c.writeFails;
        logon.removeFails = c.removeFails;
        prompt.errors.clear();
        view.checks[ids::kRunAtLogon] = c.box;
        dialog.OnCommand(ids::kRunAtLogon);
        EXPECT_EQ(view.checks[ids::kRunAtLogon], c.shown) << c.box;
        EXPECT_EQ(dialog.RunAtLogonCheck, c.shown) << c.box;
        EXPECT_EQ(prompt.errors, c.errors) << c.box;
    }
}

TEST_F(RepellerDialogTest, LabelClickTogglesTheMarkOnlyInsideTheLabel) {
    view.rects[ids::kRunAtLogonLabel] = {37, 153, 134, 165};
    Open();
    dialog.OnLButtonDown({37, 153});
    EXPECT_EQ(view.checks[ids::kRunAtLogon], 1);
    EXPECT_EQ(logon.writes, 0);
    dialog.OnLButtonDown({133, 164});
    EXPECT_EQ(view.checks[ids::kRunAtLogon], 0);
    dialog.OnLButtonDown({134, 160});  // right edge lies outside
    dialog.OnLButtonDown({100, 165});  // bottom edge lies outside
    EXPECT_EQ(view.checks[ids::kRunAtLogon], 0);
    EXPECT_EQ(logon.writes + logon.removes, 0);
}

TEST_F(RepellerDialogTest, BannerClickOpensTheProductPageAndShowsTheHand) {
    view.rects[ids::kBanner] = {29, 3, 329, 103};
    view.rects[ids::kRunAtLogonLabel] = {37, 153, 134, 165};
    Open();
    EXPECT_TRUE(dialog.OnSetCursor({29, 3}));
    EXPECT_TRUE(dialog.OnSetCursor({328, 102}));
    EXPECT_FALSE(dialog.OnSetCursor({329, 50})) << "the right edge lies outside";
    EXPECT_FALSE(dialog.OnSetCursor({100, 103})) << "the bottom edge lies outside";
    EXPECT_FALSE(dialog.OnSetCursor({40, 160}));

    dialog.OnLButtonDown({28, 50});
    dialog.OnLButtonDown({40, 160});
    EXPECT_TRUE(shell.opened.empty());
    dialog.OnLButtonDown({29, 3});
    EXPECT_EQ(shell.opened, std::vector<std::string>{kProductPage});
    EXPECT_EQ(view.checks[ids::kRunAtLogon], 1) << "only the label's click moved the mark";
}

TEST_F(RepellerDialogTest, ABannerThatDoesNotLoadIsNotStarted) {
    view.bannerLoads = false;
    Open();
    EXPECT_EQ(view.log.back(), "load banner GIF 168");
    EXPECT_EQ(EngineState(), Engine::Sweep);
}

TEST_F(RepellerDialogTest, AboutComesFromTheMenusAndTheSystemMenuItemAddedAtOpening) {
    Open();
    EXPECT_NE(std::find(view.log.begin(), view.log.end(), "system menu 16=&About Drovane..."),
              view.log.end());
    view.log.clear();
    EXPECT_TRUE(dialog.OnCommand(ids::kAbout));
    EXPECT_TRUE(dialog.OnSysCommand(16));
    EXPECT_TRUE(dialog.OnSysCommand(0x1F)) << "the low four bits are the system's own";
    EXPECT_FALSE(dialog.OnSysCommand(0xF060)) << "close goes to the default processing";
    EXPECT_FALSE(dialog.OnSysCommand(32));
    EXPECT_EQ(view.log, (std::vector<std::string>{"about", "about", "about"}));
    EXPECT_EQ(EngineState(), Engine::Sweep) << "the sweep goes on";
}

TEST_F(RepellerDialogTest, CheckBoxWithAnEmptyEditKeepsThePreviousState) {
    Open();
    view.texts[ids::kStep] = "";
    view.checks[ids::kRunAtLogon] = 1;
    dialog.OnCommand(ids::kRunAtLogon);
    EXPECT_EQ(prompt.errors, std::vector<std::string>{"Please enter an integer."});
    EXPECT_EQ(dialog.RunAtLogonCheck, 0);
    EXPECT_EQ(logon.entry, std::nullopt);
    EXPECT_EQ(logon.writes, 0);
}

// --- Folding ------------------------------------------------------------------------------------

TEST_F(RepellerDialogTest, DetailsUnfoldsAndFoldsWithCaptionsControlsAndRegion) {
    Open();
    EXPECT_EQ(view.size, (Size{331, 220}));
    EXPECT_FALSE(dialog.Expanded());
    view.log.clear();

    dialog.OnCommand(ids::kDetails);
    const std::vector<std::string> unfold{"show 6=1",           "show 7=1",        "show 3=1",
                                          "show 4=1",           "show 1002=1",     "show 1003=1",
                                          "show 1004=1",        "show 1005=1",     "size 331x342",
                                          "region 1,1,330,341", "text 133=Less <<"};
    EXPECT_EQ(view.log, unfold);
    EXPECT_TRUE(dialog.Expanded());
    EXPECT_EQ(view.size.height - 220, 122) << "the settings area's height";

    view.log.clear();
    dialog.OnCommand(ids::kDetails);
    EXPECT_EQ(view.size, (Size{331, 220}));
    EXPECT_EQ(view.region, (Rect{1, 1, 330, 219}));
    EXPECT_EQ(view.texts[ids::kDetails], "Details >>");
    for (int id : {6, 7, 3, 4, 1002, 1003, 1004, 1005}) EXPECT_FALSE(view.visible[id]) << id;
}

// In a font of base units 6 x 13 the settings area is 122 pixels of the 9-point layout scaled
// to 132.2, rounded up: the window folds and unfolds by the same 133 pixels.
TEST_F(RepellerDialogTest, FoldFollowsTheDialogFont) {
    view.reference = {600, 1300};
    Open();
    EXPECT_EQ(view.size, (Size{331, 342 - 133}));
    dialog.OnCommand(ids::kDetails);
    EXPECT_EQ(view.size, (Size{331, 342}));
}

}  // namespace
