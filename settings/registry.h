#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class RegistryRoot { LocalMachine, CurrentUser };

// A registry of keys holding named text values. Values are raw bytes; no call shows a message.
class Registry {
public:
    virtual ~Registry() = default;
    // Creates the key (and nothing else); an existing key succeeds.
    [[nodiscard]] virtual bool CreateKey(RegistryRoot root, std::string_view path) = 0;
    // The stored bytes of a value, whatever their length; nullopt when key or value is missing.
    virtual std::optional<std::string> ReadValue(RegistryRoot root, std::string_view path,
                                                 std::string_view name) = 0;
    // Stores `data` as a text value in an existing key (the key is not created here).
    [[nodiscard]] virtual bool WriteValue(RegistryRoot root, std::string_view path,
                                          std::string_view name, std::string_view data) = 0;
    [[nodiscard]] virtual bool DeleteValue(RegistryRoot root, std::string_view path,
                                           std::string_view name) = 0;
};
