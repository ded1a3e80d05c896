#pragma once

#include <windows.h>

#include <string>

#include "base/prompt.h"

// Message boxes of Windows: errors with the stop icon and an OK button, titled with the program's
// name, and the program's one question, titled "Exit", answered No by default. Each waits for the
// user; the owner window, once set, is disabled meanwhile.
class Win32Prompt final : public Prompt {
public:
    explicit Win32Prompt(std::string programName) : m_programName(std::move(programName)) {}
    void SetOwner(HWND owner) { m_owner = owner; }

    void ShowError(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;

private:
    std::string m_programName;
    HWND m_owner = nullptr;
};
