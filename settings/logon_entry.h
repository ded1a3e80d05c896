#pragma once

#include <string_view>

// The entry that starts the program when the user logs on. Its presence is the state.
class LogonEntry {
public:
    virtual ~LogonEntry() = default;
    virtual bool Exists() = 0;
    // Creates or replaces the entry so that it starts `executablePath`.
    [[nodiscard]] virtual bool Write(std::string_view executablePath) = 0;
    [[nodiscard]] virtual bool Remove() = 0;
};
