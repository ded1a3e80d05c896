#pragma once

#include <string>
#include <string_view>

#include "settings/logon_entry.h"

class Registry;

// Start at logon through the value "Drovane Startup" of the machine-wide Run key. A path with a
// space is written in double quotes: unquoted, Windows would try "C:\Program.exe" first.
class RunKeyLogonEntry final : public LogonEntry {
public:
    static constexpr std::string_view kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr std::string_view kValueName = "Drovane Startup";

    explicit RunKeyLogonEntry(Registry& registry) : m_registry(registry) {}

    bool Exists() override;
    bool Write(std::string_view executablePath) override;
    bool Remove() override;

    // The Run value's text for `executablePath`.
    static std::string RunCommand(std::string_view executablePath);

private:
    Registry& m_registry;
};
