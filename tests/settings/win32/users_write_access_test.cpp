// A settings key as a standard user meets it: readable, not writable, until the installer's grant.
#include "settings/win32/users_write_access.h"

// clang-format off
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
// clang-format on

#include "settings/win32/win32_registry.h"

namespace {

constexpr auto kHkcu = RegistryRoot::CurrentUser;
const std::string kPath = "Software\\Corvell\\AccessTest";
const wchar_t* const kPathW = L"Software\\Corvell\\AccessTest";

// Sets the key's access list to "Everyone may read", protected from what its parent passes down.
bool MakeReadOnly(HKEY key) {
    BYTE world[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof world;
    if (!CreateWellKnownSid(WinWorldSid, nullptr, world, &size)) return false;
    alignas(ACL) BYTE buffer[256];
    auto* acl = reinterpret_cast<PACL>(buffer);
    if (!InitializeAcl(acl, sizeof buffer, ACL_REVISION) ||
        !AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, world)) {
        return false;
    }
    return SetSecurityInfo(key, SE_REGISTRY_KEY,
                           DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                           nullptr, acl, nullptr) == ERROR_SUCCESS;
}

int AceCount(HKEY key) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                        nullptr, &descriptor) != ERROR_SUCCESS) {
        return -1;
    }
    const int count = dacl ? dacl->AceCount : 0;
    LocalFree(descriptor);
    return count;
}

class UsersWriteAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kPathW);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPathW, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &m_key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_TRUE(MakeReadOnly(m_key));
    }
    void TearDown() override {
        // The owner may always change the access list back.
        SetSecurityInfo(m_key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        nullptr, nullptr);
        RegCloseKey(m_key);
        RegDeleteTreeW(HKEY_CURRENT_USER, kPathW);
    }

    HKEY m_key = nullptr;
    Win32Registry registry;
};

TEST_F(UsersWriteAccessTest, ExistingKeyThatCannotBeWrittenStillCountsAsCreated) {
    EXPECT_FALSE(registry.WriteValue(kHkcu, kPath, "Frequency1", "16000"))
        << "the access list holds: the key is read-only";
    EXPECT_TRUE(registry.CreateKey(kHkcu, kPath))
        << "the key is there; saying it cannot be created would be a false message";
    EXPECT_FALSE(UsersMayWriteKey(kHkcu, kPath));
}

TEST_F(UsersWriteAccessTest, GrantLetsUsersSetValuesOnce) {
    ASSERT_TRUE(LetUsersWriteKey(kHkcu, kPath));
    EXPECT_TRUE(UsersMayWriteKey(kHkcu, kPath));
    EXPECT_TRUE(registry.WriteValue(kHkcu, kPath, "Frequency1", "16000"))
        << "this process's user is in the Users group";
    EXPECT_EQ(registry.ReadValue(kHkcu, kPath, "Frequency1"), "16000");

    const int aces = AceCount(m_key);
    ASSERT_TRUE(LetUsersWriteKey(kHkcu, kPath));
    EXPECT_EQ(AceCount(m_key), aces) << "granting again adds nothing";
}

TEST_F(UsersWriteAccessTest, MissingKeyIsNotGranted) {
    EXPECT_FALSE(LetUsersWriteKey(kHkcu, kPath + "\\Missing"));
    EXPECT_FALSE(UsersMayWriteKey(kHkcu, kPath + "\\Missing"));
}

}  // namespace
