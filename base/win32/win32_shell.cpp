#include "base/win32/win32_shell.h"

#include <windows.h>
// clang-format off
#include <shellapi.h>
// clang-format on

#include "base/win32/wide_text.h"

void Win32Shell::OpenAddress(std::string_view address) {
    ShellExecuteW(nullptr, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
