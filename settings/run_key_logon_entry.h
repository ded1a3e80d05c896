#pragma once

#include <string>
#include <string_view>

#include "settings/logon_entry.h"
#include "settings/registry.h"

// Start at logon through the value "Drovane Startup" of a Run key: the machine's, which starts the
// program for every user, or, when this user may not write that one (a standard user on Windows),
// the user's own. Either counts as present. A path with a space is written in double quotes:
// unquoted, Windows would try "C:\Program.exe" first.
class RunKeyLogonEntry final : public LogonEntry {
public:
    static constexpr std::string_view kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr std::string_view kValueName = "Drovane Startup";

    explicit RunKeyLogonEntry(Registry& registry) : m_registry(registry) {}

    bool Exists() override;
    // The machine's value when it can be written (the user's, now needless, goes); else the
    // user's, unless the machine's already starts this same path.
    [[nodiscard]] bool Write(std::string_view executablePath) override;
    // Removes both values; true when neither is left.
    [[nodiscard]] bool Remove() override;

    // Where the entry is: in the machine's Run key, the user's, both or neither.
    bool InMachineKey();
    bool InUserKey();

    // The Run value's text for `executablePath`.
    static std::string RunCommand(std::string_view executablePath);

private:
    bool IsIn(RegistryRoot root);

    Registry& m_registry;
};
