#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/registry.h"

// The keys and values of a registry held in memory, in the order they were created. Key paths
// and value names match without regard to ASCII case, as the Windows registry does, and keep the
// case they were created with. A change that would make the document's settings file larger than
// kMaxRegistryFileBytes is refused, whoever's values fill it: the file stays one that can be read
// back, and nothing other programs stored is dropped to make room.
class RegistryDocument {
public:
    struct Value {
        std::string name;
        std::string data;
        bool operator==(const Value&) const = default;
    };
    struct Key {
        RegistryRoot root;
        std::string path;
        std::vector<Value> values;
        bool operator==(const Key&) const = default;
    };

    RegistryDocument();
    // A document of `keys` as they are: each key path and each value name in a key used once,
    // without regard to ASCII case.
    explicit RegistryDocument(std::vector<Key> keys);

    // False when the path cannot name a key: empty, an empty segment, a control character or
    // invalid UTF-8.
    static bool IsValidKeyPath(std::string_view path);

    // Returns whether the document changed: false too when the key does not fit.
    [[nodiscard]] bool CreateKey(RegistryRoot root, std::string_view path);
    bool HasKey(RegistryRoot root, std::string_view path) const;
    std::optional<std::string> ReadValue(RegistryRoot root, std::string_view path,
                                         std::string_view name) const;
    // False when the key does not exist or the value does not fit.
    [[nodiscard]] bool WriteValue(RegistryRoot root, std::string_view path, std::string_view name,
                                  std::string_view data);
    // False when the key or the value does not exist, or the file is too large even without it.
    [[nodiscard]] bool DeleteValue(RegistryRoot root, std::string_view path, std::string_view name);

    const std::vector<Key>& Keys() const { return m_keys; }
    // The size of the document's settings file (FormatRegistryFile).
    std::size_t FileBytes() const { return m_fileBytes; }
    bool operator==(const RegistryDocument&) const = default;

private:
    Key* FindKey(RegistryRoot root, std::string_view path);
    const Key* FindKey(RegistryRoot root, std::string_view path) const;
    // Takes `bytes` as the file's new size when they fit.
    [[nodiscard]] bool Resize(std::size_t bytes);

    std::vector<Key> m_keys;
    std::size_t m_fileBytes;
};

// True when the two names are equal apart from the case of ASCII letters.
bool SameRegistryName(std::string_view a, std::string_view b);
