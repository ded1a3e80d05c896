#include "settings/run_key_logon_entry.h"

#include <string>

#include "settings/registry.h"

std::string RunKeyLogonEntry::RunCommand(std::string_view executablePath) {
    if (executablePath.find(' ') == std::string_view::npos) return std::string(executablePath);
    std::string command(1, '"');
    command.append(executablePath);
    command += '"';
    return command;
}

bool RunKeyLogonEntry::Exists() {
    return m_registry.ReadValue(RegistryRoot::LocalMachine, kRunKey, kValueName).has_value();
}

bool RunKeyLogonEntry::Write(std::string_view executablePath) {
    return m_registry.WriteValue(RegistryRoot::LocalMachine, kRunKey, kValueName,
                                 RunCommand(executablePath));
}

bool RunKeyLogonEntry::Remove() {
    return m_registry.DeleteValue(RegistryRoot::LocalMachine, kRunKey, kValueName);
}
