#include "settings/win32/win32_registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <new>

#include "settings/registry_settings.h"
#include "settings/run_key_logon_entry.h"
#include "tests/support/scripted_prompt.h"

// The largest block asked of the heap: a value read whole shows as one of its size.
std::size_t g_largestBlock = 0;
void* operator new(std::size_t size) {
    if (size > g_largestBlock) g_largestBlock = size;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

namespace {

constexpr auto kHklm = RegistryRoot::LocalMachine;

struct Stored {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = 0;
    std::wstring text;
    DWORD bytes = 0;
};

// The value as the registry holds it, in UTF-16, with its exact byte count.
Stored QueryW(HKEY root, const wchar_t* path, const wchar_t* name) {
    Stored stored;
    HKEY key = nullptr;
    stored.status = RegOpenKeyExW(root, path, 0, KEY_READ, &key);
    if (stored.status != ERROR_SUCCESS) return stored;
    stored.status = RegQueryValueExW(key, name, nullptr, &stored.type, nullptr, &stored.bytes);
    if (stored.status == ERROR_SUCCESS) {
        std::wstring buffer(stored.bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = stored.bytes;
        stored.status = RegQueryValueExW(key, name, nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(buffer.data()), &size);
        buffer.resize(size / sizeof(wchar_t));
        stored.text = buffer;
    }
    RegCloseKey(key);
    return stored;
}

TEST(Win32RegistryTest, TextIsStoredWithoutTerminatingZeroAndReadBackWhole) {
    Win32Registry registry;
    const std::string path = "Software\\Corvell\\DrovaneTest";
    ASSERT_TRUE(registry.CreateKey(RegistryRoot::CurrentUser, "Software\\Corvell"));
    ASSERT_TRUE(registry.CreateKey(RegistryRoot::CurrentUser, path));
    ASSERT_TRUE(registry.CreateKey(RegistryRoot::CurrentUser, path)) << "an existing key succeeds";

    ASSERT_TRUE(registry.WriteValue(RegistryRoot::CurrentUser, path, "Frequency1", "16000"));
    const Stored stored =
        QueryW(HKEY_CURRENT_USER, L"Software\\Corvell\\DrovaneTest", L"Frequency1");
    ASSERT_EQ(stored.status, ERROR_SUCCESS);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.bytes, 5 * sizeof(wchar_t)) << "five characters, no terminating zero";
    EXPECT_EQ(stored.text, L"16000");
    EXPECT_EQ(registry.ReadValue(RegistryRoot::CurrentUser, path, "Frequency1"), "16000");

    ASSERT_TRUE(registry.WriteValue(RegistryRoot::CurrentUser, path, "Empty", ""));
    EXPECT_EQ(QueryW(HKEY_CURRENT_USER, L"Software\\Corvell\\DrovaneTest", L"Empty").bytes, 0u);
    EXPECT_EQ(registry.ReadValue(RegistryRoot::CurrentUser, path, "Empty"), "");

    const std::string text = "  250ms " + std::string(1000, '7');
    ASSERT_TRUE(registry.WriteValue(RegistryRoot::CurrentUser, path, "Long", text));
    EXPECT_EQ(registry.ReadValue(RegistryRoot::CurrentUser, path, "Long"), std::nullopt);
    // 260 characters are read (an odd last byte is half of one); longer ones are refused unread.
    for (const DWORD bytes : {520u, 521u, 522u, 8u << 20}) {
        const std::wstring sevens(bytes / 2 + 1, L'7');
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Corvell\\DrovaneTest", L"Long", REG_SZ,
                        sevens.data(), bytes);
        g_largestBlock = 0;
        const auto read = registry.ReadValue(RegistryRoot::CurrentUser, path, "Long");
        EXPECT_EQ(read.value_or("refused").size(), bytes < 522 ? 260u : 7u) << bytes;
        EXPECT_LT(g_largestBlock, 1024u) << bytes << " stored bytes read whole";
    }

    EXPECT_EQ(registry.ReadValue(RegistryRoot::CurrentUser, path, "Missing"), std::nullopt);
    EXPECT_FALSE(registry.WriteValue(RegistryRoot::CurrentUser, path + "\\NoSuchKey", "v", "1"))
        << "writes do not create keys";
    EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, path, "Long"));
    EXPECT_FALSE(registry.DeleteValue(RegistryRoot::CurrentUser, path, "Long"));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Corvell\\DrovaneTest");
}

TEST(Win32RegistryTest, StoreAndRunEntryOnTheMachineHive) {
    Win32Registry registry;
    RunKeyLogonEntry logon(registry);
    ScriptedPrompt prompt;
    CRegistrySettings settings(registry, logon, prompt, "C:\\Program Files\\Drovane\\Drovane.exe");

    settings.SaveToneParams(12000, 13000, 300, 5);
    EXPECT_TRUE(prompt.errors.empty());
    const Stored f1 = QueryW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Corvell\\Drovane", L"Frequency1");
    ASSERT_EQ(f1.status, ERROR_SUCCESS);
    EXPECT_EQ(f1.bytes, 5 * sizeof(wchar_t));
    std::int32_t a = 0, b = 0, c = 0, d = 0;
    settings.LoadToneParams(a, b, c, d);
    EXPECT_EQ((std::vector<std::int32_t>{a, b, c, d}),
              (std::vector<std::int32_t>{12000, 13000, 300, 5}));

    const wchar_t* run = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    settings.SetRunAtLogon(true);
    EXPECT_TRUE(prompt.errors.empty());
    EXPECT_TRUE(settings.IsRunAtLogon());
    const Stored entry = QueryW(HKEY_LOCAL_MACHINE, run, L"Drovane Startup");
    const std::wstring quoted = L"\"C:\\Program Files\\Drovane\\Drovane.exe\"";
    EXPECT_EQ(entry.text, quoted) << "quoted, so Windows cannot run C:\\Program.exe instead";
    EXPECT_EQ(entry.bytes, quoted.size() * sizeof(wchar_t));

    // A copy on a Korean user's desktop: the path reaches the Run value as it is.
    CRegistrySettings korean(registry, logon, prompt, "C:\\Users\\김철수\\바탕 화면\\drovane.exe");
    korean.SetRunAtLogon(true);
    EXPECT_EQ(QueryW(HKEY_LOCAL_MACHINE, run, L"Drovane Startup").text,
              L"\"C:\\Users\\김철수\\바탕 화면\\drovane.exe\"");
    EXPECT_EQ(registry.ReadValue(kHklm, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                                 "Drovane Startup"),
              "\"C:\\Users\\김철수\\바탕 화면\\drovane.exe\"");

    settings.SetRunAtLogon(false);
    EXPECT_FALSE(settings.IsRunAtLogon());
    EXPECT_EQ(QueryW(HKEY_LOCAL_MACHINE, run, L"Drovane Startup").status, ERROR_FILE_NOT_FOUND);
    settings.SetRunAtLogon(false);
    EXPECT_TRUE(prompt.errors.empty());
}

}  // namespace
