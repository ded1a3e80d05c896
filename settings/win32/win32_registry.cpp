#include "settings/win32/win32_registry.h"

#include <windows.h>

#include <string>

namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Closes the key when it goes out of scope.
class OpenKey {
public:
    OpenKey(RegistryRoot root, std::string_view path, REGSAM access) {
        const std::string p(path);
        if (RegOpenKeyExA(RootKey(root), p.c_str(), 0, access, &m_key) != ERROR_SUCCESS) {
            m_key = nullptr;
        }
    }
    ~OpenKey() {
        if (m_key) RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    explicit operator bool() const { return m_key != nullptr; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

}  // namespace

bool Win32Registry::CreateKey(RegistryRoot root, std::string_view path) {
    const std::string p(path);
    HKEY key = nullptr;
    // Asks only to look at the key: an existing key that this user may read but not write (the
    // maker's key under HKLM, for a standard user) then counts as there, as it is. Making a new
    // key is checked against the parent's rights, whatever is asked for the key itself.
    if (RegCreateKeyExA(RootKey(root), p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::optional<std::string> Win32Registry::ReadValue(RegistryRoot root, std::string_view path,
                                                    std::string_view name) {
    const OpenKey key(root, path, KEY_READ);
    if (!key) return std::nullopt;
    const std::string n(name);
    // The value may grow between asking its size and reading it; ask again then.
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExA(key.Get(), n.c_str(), nullptr, nullptr, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::string data(size, '\0');
        const LONG status = RegQueryValueExA(key.Get(), n.c_str(), nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        data.resize(size);
        return data;
    }
    return std::nullopt;
}

bool Win32Registry::WriteValue(RegistryRoot root, std::string_view path, std::string_view name,
                               std::string_view data) {
    // Setting values is all a write needs, and all the installer grants on the settings key.
    const OpenKey key(root, path, KEY_SET_VALUE);
    if (!key) return false;
    const std::string n(name);
    // Windows counts a terminating zero that follows a REG_SZ text even when the byte count leaves
    // it out; a non-zero byte after the text keeps the stored length to the text alone.
    std::string guarded(data);
    guarded += '\x01';
    return RegSetValueExA(key.Get(), n.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(guarded.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryRoot root, std::string_view path, std::string_view name) {
    const OpenKey key(root, path, KEY_SET_VALUE);
    if (!key) return false;
    const std::string n(name);
    return RegDeleteValueA(key.Get(), n.c_str()) == ERROR_SUCCESS;
}
