#include "base/win32/win32_prompt.h"

#include "base/win32/wide_text.h"

void Win32Prompt::ShowError(std::string_view text) {
    MessageBoxW(m_owner, Widen(text).c_str(), Widen(m_programName).c_str(), MB_OK | MB_ICONHAND);
}

bool Win32Prompt::AskYesNo(std::string_view text) {
    return MessageBoxW(m_owner, Widen(text).c_str(), L"Exit",
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}
