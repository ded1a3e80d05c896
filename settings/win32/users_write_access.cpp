#include "settings/win32/users_write_access.h"

// clang-format off
#include <windows.h>
#include <aclapi.h>
// clang-format on

#include <string>

namespace {

constexpr DWORD kUsersRights = KEY_READ | KEY_SET_VALUE;

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// BUILTIN\Users, by its well-known identifier: the group's name differs with the language.
struct UsersSid {
    UsersSid() {
        DWORD size = sizeof bytes;
        valid = CreateWellKnownSid(WinBuiltinUsersSid, nullptr, bytes, &size) != FALSE;
    }
    PSID Get() { return bytes; }
    BYTE bytes[SECURITY_MAX_SID_SIZE] = {};
    bool valid = false;
};

class Key {
public:
    Key(RegistryRoot root, std::string_view path, REGSAM access) {
        const std::string p(path);
        if (RegOpenKeyExA(RootKey(root), p.c_str(), 0, access, &m_key) != ERROR_SUCCESS) {
            m_key = nullptr;
        }
    }
    ~Key() {
        if (m_key) RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Frees what the security functions allocate.
template <typename T>
struct LocalPtr {
    ~LocalPtr() {
        if (p) LocalFree(p);
    }
    T p = nullptr;
};

}  // namespace

bool LetUsersWriteKey(RegistryRoot root, std::string_view path) {
    // Windows merges a second grant into the first; Wine adds another entry. Ask first.
    if (UsersMayWriteKey(root, path)) return true;
    UsersSid users;
    const Key key(root, path, READ_CONTROL | WRITE_DAC);
    if (!users.valid || !key.Get()) return false;
    PACL current = nullptr;
    LocalPtr<PSECURITY_DESCRIPTOR> descriptor;
    if (GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        &current, nullptr, &descriptor.p) != ERROR_SUCCESS) {
        return false;
    }
    EXPLICIT_ACCESS_W grant = {};
    grant.grfAccessPermissions = kUsersRights;
    grant.grfAccessMode = GRANT_ACCESS;
    grant.grfInheritance = NO_INHERITANCE;
    grant.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    grant.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    grant.Trustee.ptstrName = static_cast<LPWSTR>(users.Get());
    LocalPtr<PACL> updated;
    if (SetEntriesInAclW(1, &grant, current, &updated.p) != ERROR_SUCCESS) return false;
    return SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                           updated.p, nullptr) == ERROR_SUCCESS;
}

bool UsersMayWriteKey(RegistryRoot root, std::string_view path) {
    UsersSid users;
    const Key key(root, path, READ_CONTROL);
    if (!users.valid || !key.Get()) return false;
    PACL dacl = nullptr;
    LocalPtr<PSECURITY_DESCRIPTOR> descriptor;
    if (GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        &dacl, nullptr, &descriptor.p) != ERROR_SUCCESS ||
        dacl == nullptr) {
        return false;
    }
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace)) continue;
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (EqualSid(&allowed->SidStart, users.Get()) &&
            (allowed->Mask & kUsersRights) == kUsersRights) {
            return true;
        }
    }
    return false;
}
