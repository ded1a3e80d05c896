#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/registry.h"

// The keys and values of a registry held in memory, in the order they were created. Key paths
// and value names match without regard to ASCII case, as the Windows registry does, and keep the
// case they were created with.
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

    RegistryDocument() = default;
    // A document of `keys` as they are: each key path and each value name in a key used once,
    // without regard to ASCII case.
    explicit RegistryDocument(std::vector<Key> keys) : m_keys(std::move(keys)) {}

    // False when the path cannot name a key: empty, an empty segment, a control character or
    // invalid UTF-8.
    static bool IsValidKeyPath(std::string_view path);

    // Returns whether the document changed.
    [[nodiscard]] bool CreateKey(RegistryRoot root, std::string_view path);
    bool HasKey(RegistryRoot root, std::string_view path) const;
    std::optional<std::string> ReadValue(RegistryRoot root, std::string_view path,
                                         std::string_view name) const;
    // False when the key does not exist.
    [[nodiscard]] bool WriteValue(RegistryRoot root, std::string_view path, std::string_view name,
                                  std::string_view data);
    // False when the key or the value does not exist.
    [[nodiscard]] bool DeleteValue(RegistryRoot root, std::string_view path, std::string_view name);

    const std::vector<Key>& Keys() const { return m_keys; }
    bool operator==(const RegistryDocument&) const = default;

private:
    Key* FindKey(RegistryRoot root, std::string_view path);
    const Key* FindKey(RegistryRoot root, std::string_view path) const;

    std::vector<Key> m_keys;
};

// True when the two names are equal apart from the case of ASCII letters.
bool SameRegistryName(std::string_view a, std::string_view b);
