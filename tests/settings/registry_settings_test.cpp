#include "settings/registry_settings.h"

#include <gtest/gtest.h>

#include "settings/run_key_logon_entry.h"
#include "tests/support/memory_registry.h"
#include "tests/support/scripted_prompt.h"

namespace {

constexpr auto kHklm = RegistryRoot::LocalMachine;
const std::string kMaker = "SOFTWARE\\Corvell";
const std::string kProduct = "SOFTWARE\\Corvell\\Drovane";
const std::string kCannotCreate = "Cannot create key in registry";

struct Params {
    std::int32_t f1 = -7, f2 = -7, delay = -7, step = -7;
    bool operator==(const Params&) const = default;
};

class RegistrySettingsTest : public ::testing::Test {
protected:
    Params Load() {
        Params p;
        settings.LoadToneParams(p.f1, p.f2, p.delay, p.step);
        return p;
    }
    void Store(const std::string& f1, const std::string& f2, const std::string& delay,
               const std::string& step) {
        registry.Put(kHklm, kProduct, "Frequency1", f1);
        registry.Put(kHklm, kProduct, "Frequency2", f2);
        registry.Put(kHklm, kProduct, "Delay", delay);
        registry.Put(kHklm, kProduct, "Step", step);
    }

    MemoryRegistry registry;
    MemoryLogonEntry logon;
    ScriptedPrompt prompt;
    CRegistrySettings settings{registry, logon, prompt, "/opt/drovane app/drovane"};
    const Params defaults{16000, 20000, 500, 10};
};

TEST_F(RegistrySettingsTest, KeyPathsAreBuiltFromMakerAndProduct) {
    settings.CreateSettingsKeys();
    EXPECT_TRUE(registry.HasKey(kHklm, kMaker));
    EXPECT_EQ(settings.ProductKey(), kProduct);
}

TEST_F(RegistrySettingsTest, FirstRunLoadsDefaultsWithoutWritingOrMessages) {
    EXPECT_EQ(Load(), defaults);
    EXPECT_TRUE(prompt.errors.empty());
    for (const std::string& call : registry.log) EXPECT_TRUE(call.starts_with("read ")) << call;
    EXPECT_EQ(registry.log,
              (std::vector<std::string>{
                  "read " + kProduct + " Frequency1", "read " + kProduct + " Frequency2",
                  "read " + kProduct + " Delay", "read " + kProduct + " Step"}));
}

TEST_F(RegistrySettingsTest, AnyValueBelowOneBringsBackAllDefaults) {
    registry.Put(kHklm, kProduct, "Frequency1", "16000");
    registry.Put(kHklm, kProduct, "Delay", "500");
    registry.Put(kHklm, kProduct, "Step", "10");
    EXPECT_EQ(Load(), defaults) << "a missing Frequency2";

    Store("12000", "13000", "300", "0");
    EXPECT_EQ(Load(), defaults) << "Step 0 discards the three valid values";
    Store("12000", "13000", "-300", "5");
    EXPECT_EQ(Load(), defaults) << "a negative Delay";
    Store("kHz", "13000", "300", "5");
    EXPECT_EQ(Load(), defaults) << "a Frequency1 without digits";
    Store("12000", "13000", "300", "");
    EXPECT_EQ(Load(), defaults) << "an empty Step";
}

TEST_F(RegistrySettingsTest, TextConvertsAsAtoiDoes) {
    Store("+12000", "40000", "250ms", " 12");
    EXPECT_EQ(Load(), (Params{12000, 40000, 250, 12})) << "no upper bound; letters end the number";

    Store("\t\n\v\f\r 1", "2-3", "0007", "5 6");
    EXPECT_EQ(Load(), (Params{1, 2, 7, 5})) << "every white space skipped; a sign ends it too";

    Store("- 5", "1", "1", "1");
    EXPECT_EQ(Load(), defaults) << "a sign must touch its digits";

    // Beyond 32 bits: what glibc's atoi gives (strtol saturates, then the cut to int).
    Store("4294967297", "2147483647", "99999999999999999999", "1");
    EXPECT_EQ(Load(), defaults) << "99999999999999999999 saturates to LONG_MAX, which cuts to -1";
    Store("46116860184273879090", "1", "1", "1");
    EXPECT_EQ(Load(), defaults) << "saturates too, though its first 19 digits cut to 5";
    Store("10108751756616470870", "1", "1", "1");
    EXPECT_EQ(Load(), defaults) << "past 64 bits by its last digit only";
    Store("9064644980168434798", "1", "1", "1");
    EXPECT_EQ(Load(), (Params{972530798, 1, 1, 1})) << "within 64 bits: cut, not saturated";
    Store("4294967297", "2147483648", "1", "1");
    EXPECT_EQ(Load(), defaults) << "2147483648 cuts to INT_MIN";
    Store("4294967297", "2147483647", "1", "1");
    EXPECT_EQ(Load(), (Params{1, 2147483647, 1, 1}));
}

TEST_F(RegistrySettingsTest, ReadStringValueKeepsBytesUpToZeroAndRefusesLongValues) {
    registry.Put(kHklm, kProduct, "a",
                 std::string("123\0"
                             "456",
                             7));
    registry.Put(kHklm, kProduct, "fits", std::string(260, '7'));
    registry.Put(kHklm, kProduct, "long", std::string(261, '7'));
    registry.Put(kHklm, kProduct, "empty", "");

    std::string text = "old";
    EXPECT_TRUE(settings.ReadStringValue(kHklm, kProduct, "a", text));
    EXPECT_EQ(text, "123");
    EXPECT_TRUE(settings.ReadStringValue(kHklm, kProduct, "fits", text));
    EXPECT_EQ(text, std::string(260, '7'));
    text = "old";
    EXPECT_FALSE(settings.ReadStringValue(kHklm, kProduct, "long", text));
    EXPECT_EQ(text, "old") << "a failed read leaves the text alone";
    EXPECT_FALSE(settings.ReadStringValue(kHklm, kProduct, "missing", text));
    EXPECT_EQ(text, "old");
    EXPECT_TRUE(settings.ReadStringValue(kHklm, kProduct, "empty", text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(settings.DeleteValue(kHklm, kProduct, "empty"));
    EXPECT_FALSE(settings.DeleteValue(kHklm, kProduct, "empty")) << "gone already";

    // A value too long to read loads as missing, so the defaults come back.
    Store("12000", std::string(300, '1'), "300", "5");
    EXPECT_EQ(Load(), defaults);
}

TEST_F(RegistrySettingsTest, SaveCreatesKeysThenWritesDigitsOnly) {
    settings.SaveToneParams(16000, -20000, 0, 2147483647);
    EXPECT_TRUE(prompt.errors.empty());
    EXPECT_EQ(registry.log, (std::vector<std::string>{"create " + kMaker, "create " + kProduct,
                                                      "write " + kProduct + " Frequency1=16000",
                                                      "write " + kProduct + " Frequency2=-20000",
                                                      "write " + kProduct + " Delay=0",
                                                      "write " + kProduct + " Step=2147483647"}));
    const std::optional<std::string> stored = registry.ReadValue(kHklm, kProduct, "Frequency1");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 5u) << "no terminating zero in the stored length";
}

TEST_F(RegistrySettingsTest, SaveThenLoadRoundTrips) {
    settings.SaveToneParams(1, 32767, 40000, 3);
    EXPECT_EQ(Load(), (Params{1, 32767, 40000, 3}));
}

TEST_F(RegistrySettingsTest, SaveWithoutWriteAccessShowsSixMessagesInOrder) {
    registry.readOnly = true;
    settings.SaveToneParams(16000, 20000, 500, 10);
    EXPECT_EQ(prompt.errors, (std::vector<std::string>{
                                 kCannotCreate, kCannotCreate, "Error when saving Frequency1",
                                 "Error when saving Frequency2", "Error when saving Delay",
                                 "Error when saving Step"}));
}

TEST_F(RegistrySettingsTest, OnlyMakerKeyFailingGivesOneMessageAndAllValues) {
    registry.Put(kHklm, kProduct, "Step", "99");
    registry.uncreatableKeys = {kMaker};
    settings.SaveToneParams(12000, 13000, 300, 5);
    EXPECT_EQ(prompt.errors, std::vector<std::string>{kCannotCreate});
    EXPECT_EQ(Load(), (Params{12000, 13000, 300, 5}));
}

TEST_F(RegistrySettingsTest, FailedWritesKeepOldValuesAndLaterWritesStillRun) {
    Store("12000", "13000", "300", "5");
    // The product key cannot be created afresh, but it exists, so the values are still written.
    registry.uncreatableKeys = {kMaker, kProduct};
    settings.SaveToneParams(14000, 15000, 400, 6);
    EXPECT_EQ(prompt.errors, (std::vector<std::string>{kCannotCreate, kCannotCreate}));
    EXPECT_EQ(Load(), (Params{14000, 15000, 400, 6}));
}

TEST_F(RegistrySettingsTest, DefaultsAreTheFixedFour) {
    Params p;
    CRegistrySettings::GetDefaultToneParams(p.f1, p.f2, p.delay, p.step);
    EXPECT_EQ(p, defaults);
}

TEST_F(RegistrySettingsTest, RunAtLogonEnableAndDisable) {
    EXPECT_FALSE(settings.IsRunAtLogon());
    settings.SetRunAtLogon(true);
    EXPECT_TRUE(settings.IsRunAtLogon());
    EXPECT_EQ(logon.entry, "/opt/drovane app/drovane");
    EXPECT_TRUE(registry.HasKey(kHklm, kProduct)) << "settings keys are created first";

    settings.SetRunAtLogon(true);
    EXPECT_EQ(logon.writes, 2) << "enabling twice writes twice";
    EXPECT_TRUE(settings.IsRunAtLogon());

    settings.SetRunAtLogon(false);
    EXPECT_FALSE(settings.IsRunAtLogon());
    settings.SetRunAtLogon(false);
    EXPECT_EQ(logon.removes, 2);
    EXPECT_TRUE(prompt.errors.empty()) << "removing a missing entry is silent";
}

TEST_F(RegistrySettingsTest, RunAtLogonWithoutWriteAccess) {
    registry.readOnly = true;
    logon.writeFails = true;
    logon.removeFails = true;
    settings.SetRunAtLogon(true);
    EXPECT_EQ(prompt.errors, (std::vector<std::string>{kCannotCreate, kCannotCreate,
                                                       "Cannot set program run on startup"}));
    prompt.errors.clear();
    settings.SetRunAtLogon(false);
    EXPECT_EQ(prompt.errors, (std::vector<std::string>{kCannotCreate, kCannotCreate}));
}

TEST(RunKeyLogonEntryTest, QuotesPathsWithSpacesAndCountsAnyValueAsPresent) {
    MemoryRegistry registry;
    const std::string run(RunKeyLogonEntry::kRunKey);
    registry.Put(kHklm, run, "Other", "x");
    MemoryLogonEntry unused;
    ScriptedPrompt prompt;
    RunKeyLogonEntry entry(registry);

    CRegistrySettings spaced(registry, entry, prompt, "C:\\Program Files\\Drovane\\Drovane.exe");
    EXPECT_FALSE(spaced.IsRunAtLogon());
    spaced.SetRunAtLogon(true);
    EXPECT_EQ(registry.ReadValue(kHklm, run, "Drovane Startup"),
              "\"C:\\Program Files\\Drovane\\Drovane.exe\"");
    EXPECT_TRUE(spaced.IsRunAtLogon());

    // Moved since: the second enable replaces the path; without a space it stays bare.
    CRegistrySettings moved(registry, entry, prompt, "D:\\Tools\\Drovane.exe");
    moved.SetRunAtLogon(true);
    EXPECT_EQ(registry.ReadValue(kHklm, run, "Drovane Startup"), "D:\\Tools\\Drovane.exe");

    registry.Put(kHklm, run, "Drovane Startup", "");
    EXPECT_TRUE(moved.IsRunAtLogon()) << "an empty value still counts";

    moved.SetRunAtLogon(false);
    EXPECT_FALSE(moved.IsRunAtLogon());
    moved.SetRunAtLogon(false);
    EXPECT_TRUE(prompt.errors.empty());
    EXPECT_EQ(registry.ReadValue(kHklm, run, "Other"), "x") << "other Run values are untouched";
}

}  // namespace
