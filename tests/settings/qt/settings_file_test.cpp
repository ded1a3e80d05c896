// Saving the settings to their file: a lock that cannot be taken, and the file's size cap.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "settings/qt/file_registry.h"
#include "settings/registry_file_format.h"
#include "settings/registry_settings.h"
#include "tests/support/memory_registry.h"
#include "tests/support/scripted_prompt.h"

TEST(SettingsFileTest, ALockHeldElsewhereOrALinkOrFifoInItsPlaceHoldsASaveBrieflyAndIsShownOnce) {
    for (const auto plant :
         {+[](const char* lock) { return flock(open(lock, O_CREAT, 0600), LOCK_EX); },
          +[](const char* lock) { return symlink("elsewhere", lock); },
          +[](const char* lock) { return mkfifo(lock, 0600); }}) {
        QTemporaryDir dir;
        ASSERT_EQ(plant(QFile::encodeName(dir.filePath("registry.ini.lock"))), 0);
        FileRegistry registry(dir.filePath("registry.ini"));
        MemoryLogonEntry logon;
        ScriptedPrompt prompt;
        const auto start = std::chrono::steady_clock::now();
        CRegistrySettings settings(registry, logon, prompt, {});
        settings.SaveToneParams(12000, 13000, 300, 7);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(prompt.errors.size(), 1u);
        settings.SaveToneParams(12000, 13000, 300, 7);
        EXPECT_EQ(prompt.errors.size(), 2u) << "once for each change";
    }
}

// A value fills the file to a byte below the cap, or to it; then it grows by a byte.
TEST(SettingsFileTest, AChangeThatWouldPassTheSizeCapIsRefusedAndTheFileStaysReadable) {
    for (const std::size_t over : {0, 1}) {
        QTemporaryDir dir;
        FileRegistry r(dir.filePath("registry.ini"));
        const auto hklm = RegistryRoot::LocalMachine;
        ASSERT_TRUE(r.CreateKey(hklm, "K"));
        const std::size_t room = kMaxRegistryFileBytes + over - QFile(r.Path()).size();
        const std::string fill(room - RegistryFileValueBytes("v", "x"), 'x');
        ASSERT_TRUE(r.WriteValue(hklm, "K", "v", fill));
        EXPECT_EQ(r.WriteValue(hklm, "K", "v", fill + "x"), over == 0);
        EXPECT_EQ(r.ReadValue(hklm, "K", "v").value_or("").size(), fill.size() + 1 - over);
        EXPECT_EQ(QFile(r.Path()).size(), kMaxRegistryFileBytes);
        EXPECT_FALSE(r.CreateKey(hklm, "L")) << "no room for a key either";
    }
}
