// The run-at-logon entry and the settings as a standard user on Windows sees them: the machine
// hive is read-only but for the settings key that the installer opened to the Users group.
#include "settings/run_key_logon_entry.h"

#include <gtest/gtest.h>

#include "settings/registry_settings.h"
#include "tests/support/memory_registry.h"
#include "tests/support/scripted_prompt.h"

namespace {

constexpr auto kHklm = RegistryRoot::LocalMachine;
constexpr auto kHkcu = RegistryRoot::CurrentUser;
const std::string kRun(RunKeyLogonEntry::kRunKey);
const std::string kValue(RunKeyLogonEntry::kValueName);
const std::string kMaker = "SOFTWARE\\Corvell";
const std::string kProduct = "SOFTWARE\\Corvell\\Drovane";
const std::string kPath = "C:\\Program Files\\Drovane\\drovane.exe";
const std::string kCommand = "\"C:\\Program Files\\Drovane\\drovane.exe\"";

class RunKeyFallbackTest : public ::testing::Test {
protected:
    // The machine as the installer leaves it.
    void Installed() {
        registry.Put(kHklm, kRun, "Other", "x");
        registry.Put(kHklm, kMaker, "", "");
        registry.Put(kHklm, kProduct, "Frequency1", "16000");
        registry.usersMayWrite = {kProduct};
    }
    std::optional<std::string> Machine() { return registry.ReadValue(kHklm, kRun, kValue); }
    std::optional<std::string> User() { return registry.ReadValue(kHkcu, kRun, kValue); }

    MemoryRegistry registry;
    RunKeyLogonEntry entry{registry};
    ScriptedPrompt prompt;
    CRegistrySettings settings{registry, entry, prompt, kPath};
};

TEST_F(RunKeyFallbackTest, StandardUserStoresSettingsAndStartsAtLogonWithoutMessages) {
    Installed();
    registry.standardUser = true;

    settings.SaveToneParams(12000, 13000, 300, 5);
    std::int32_t f1 = 0, f2 = 0, delay = 0, step = 0;
    settings.LoadToneParams(f1, f2, delay, step);
    EXPECT_EQ((std::vector<std::int32_t>{f1, f2, delay, step}),
              (std::vector<std::int32_t>{12000, 13000, 300, 5}));

    EXPECT_FALSE(settings.IsRunAtLogon());
    settings.SetRunAtLogon(true);
    EXPECT_EQ(Machine(), std::nullopt) << "the machine's Run key stays closed to users";
    EXPECT_EQ(User(), kCommand) << "the user's own Run key, created on a fresh profile";
    EXPECT_TRUE(settings.IsRunAtLogon()) << "the check box shows the user's entry";

    settings.SetRunAtLogon(false);
    EXPECT_EQ(User(), std::nullopt);
    EXPECT_FALSE(settings.IsRunAtLogon());
    EXPECT_TRUE(prompt.errors.empty()) << ::testing::PrintToString(prompt.errors);
}

TEST_F(RunKeyFallbackTest, AdministratorWritesTheMachineEntryAndDropsTheUsersOwn) {
    Installed();
    registry.Put(kHkcu, kRun, kValue, "\"C:\\Old Place\\drovane.exe\"");
    ASSERT_TRUE(entry.Write(kPath));
    EXPECT_EQ(Machine(), kCommand);
    EXPECT_EQ(User(), std::nullopt) << "one entry, or the program would start twice";

    ASSERT_TRUE(entry.Remove());
    EXPECT_FALSE(entry.Exists());
    EXPECT_EQ(registry.ReadValue(kHklm, kRun, "Other"), "x") << "other Run values are untouched";
}

TEST_F(RunKeyFallbackTest, MachineEntryTheUserCannotChange) {
    Installed();
    registry.Put(kHklm, kRun, kValue, kCommand);
    registry.standardUser = true;

    EXPECT_TRUE(entry.Exists());
    EXPECT_TRUE(entry.Write(kPath)) << "the machine's entry already starts this path";
    EXPECT_EQ(User(), std::nullopt) << "no second entry beside it";

    EXPECT_TRUE(entry.Write("D:\\Tools\\drovane.exe"));
    EXPECT_EQ(User(), "D:\\Tools\\drovane.exe") << "another path needs the user's own entry";
    EXPECT_EQ(Machine(), kCommand);

    EXPECT_FALSE(entry.Remove()) << "the machine's entry is left, and says so";
    EXPECT_EQ(User(), std::nullopt);
    EXPECT_TRUE(entry.Exists()) << "the check box keeps showing what will start at logon";
}

TEST_F(RunKeyFallbackTest, StandardUserWithoutTheInstallerStillGetsTheRunEntry) {
    registry.standardUser = true;
    settings.SetRunAtLogon(true);
    EXPECT_EQ(prompt.errors, (std::vector<std::string>{"Cannot create key in registry",
                                                       "Cannot create key in registry"}))
        << "nobody made the settings keys: said so, as before";
    EXPECT_EQ(User(), kCommand);
    EXPECT_TRUE(settings.IsRunAtLogon());
}

TEST_F(RunKeyFallbackTest, NeitherKeyWritableFailsTheWrite) {
    Installed();
    registry.readOnly = true;
    EXPECT_FALSE(entry.Write(kPath));
    EXPECT_FALSE(entry.Exists());
    settings.SetRunAtLogon(true);
    EXPECT_EQ(prompt.errors.back(), "Cannot set program run on startup");
}

}  // namespace
