#include "settings/run_key_logon_entry.h"

#include <optional>
#include <string>

std::string RunKeyLogonEntry::RunCommand(std::string_view executablePath) {
    if (executablePath.find(' ') == std::string_view::npos) return std::string(executablePath);
    std::string command(1, '"');
    command.append(executablePath);
    command += '"';
    return command;
}

bool RunKeyLogonEntry::IsIn(RegistryRoot root) {
    return m_registry.ReadValue(root, kRunKey, kValueName).has_value();
}

bool RunKeyLogonEntry::InMachineKey() { return IsIn(RegistryRoot::LocalMachine); }

bool RunKeyLogonEntry::InUserKey() { return IsIn(RegistryRoot::CurrentUser); }

bool RunKeyLogonEntry::Exists() { return InMachineKey() || InUserKey(); }

bool RunKeyLogonEntry::Write(std::string_view executablePath) {
    const std::string command = RunCommand(executablePath);
    if (m_registry.WriteValue(RegistryRoot::LocalMachine, kRunKey, kValueName, command)) {
        // Two entries would start the program twice at logon. One that cannot go does no more
        // than that: the entry asked for is written.
        if (InUserKey()) {
            static_cast<void>(
                m_registry.DeleteValue(RegistryRoot::CurrentUser, kRunKey, kValueName));
        }
        return true;
    }
    const std::optional<std::string> machine =
        m_registry.ReadValue(RegistryRoot::LocalMachine, kRunKey, kValueName);
    if (machine == command) return true;
    // A fresh profile may lack its Run key; the user may always create it, and the write says
    // whether that worked.
    static_cast<void>(m_registry.CreateKey(RegistryRoot::CurrentUser, kRunKey));
    return m_registry.WriteValue(RegistryRoot::CurrentUser, kRunKey, kValueName, command);
}

bool RunKeyLogonEntry::Remove() {
    // What is left, not what each delete said, is the result: a value that was not there is gone.
    static_cast<void>(m_registry.DeleteValue(RegistryRoot::LocalMachine, kRunKey, kValueName));
    static_cast<void>(m_registry.DeleteValue(RegistryRoot::CurrentUser, kRunKey, kValueName));
    return !Exists();
}
