#include "settings/win32/win32_registry.h"

#include <windows.h>

#include <string>

#include "base/win32/wide_text.h"
#include "settings/registry_settings.h"

namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Closes the key when it goes out of scope.
class OpenKey {
public:
    OpenKey(RegistryRoot root, std::string_view path, REGSAM access) {
        if (RegOpenKeyExW(RootKey(root), Widen(path).c_str(), 0, access, &m_key) != ERROR_SUCCESS) {
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
    HKEY key = nullptr;
    // Asks only to look at the key: an existing key that this user may read but not write (the
    // maker's key under HKLM, for a standard user) then counts as there, as it is. Making a new
    // key is checked against the parent's rights, whatever is asked for the key itself.
    if (RegCreateKeyExW(RootKey(root), Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
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
    // One call into a buffer of the longest text the store accepts: a longer value, also one that
    // grows while we read, gets ERROR_MORE_DATA and is never copied here. Each UTF-16 character
    // becomes at least one byte of UTF-8, so no text the store would take is refused.
    wchar_t data[CRegistrySettings::kMaxValueBytes + 1];
    // An odd last byte, half a character, is dropped.
    DWORD size = CRegistrySettings::kMaxValueBytes * sizeof(wchar_t) + 1;
    if (RegQueryValueExW(key.Get(), Widen(name).c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return Narrow(std::wstring_view(data, size / sizeof(wchar_t)));
}

bool Win32Registry::WriteValue(RegistryRoot root, std::string_view path, std::string_view name,
                               std::string_view data) {
    // Setting values is all a write needs, and all the installer grants on the settings key.
    const OpenKey key(root, path, KEY_SET_VALUE);
    if (!key) return false;
    // Windows counts a terminating zero that follows a REG_SZ text even when the byte count leaves
    // it out; a non-zero character after the text keeps the stored length to the text alone.
    std::wstring guarded = Widen(data);
    const auto bytes = static_cast<DWORD>(guarded.size() * sizeof(wchar_t));
    guarded += L'\x01';
    return RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(guarded.data()), bytes) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryRoot root, std::string_view path, std::string_view name) {
    const OpenKey key(root, path, KEY_SET_VALUE);
    if (!key) return false;
    return RegDeleteValueW(key.Get(), Widen(name).c_str()) == ERROR_SUCCESS;
}
