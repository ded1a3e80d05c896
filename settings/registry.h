#pragma once

#include <chrono>
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
    // The stored bytes of a value; nullopt when key or value is missing. An adapter may also
    // refuse, unread, a value longer than the store's limit, which the store could not use.
    virtual std::optional<std::string> ReadValue(RegistryRoot root, std::string_view path,
                                                 std::string_view name) = 0;
    // Stores `data` as a text value in an existing key (the key is not created here).
    [[nodiscard]] virtual bool WriteValue(RegistryRoot root, std::string_view path,
                                          std::string_view name, std::string_view data) = 0;
    [[nodiscard]] virtual bool DeleteValue(RegistryRoot root, std::string_view path,
                                           std::string_view name) = 0;

    // For a registry that other processes change too: the calls from here on wait for them
    // `total` in all; once that is spent, a call that finds the registry held fails at once.
    virtual void LimitWait(std::chrono::milliseconds total) { static_cast<void>(total); }
    // True when the last change could not lock out other processes: one held the registry past
    // the wait, or the lock itself cannot be made.
    virtual bool LockFailed() const { return false; }
};
