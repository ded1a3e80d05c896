#include "toolkit/win32/square_corners.h"

namespace {

// From dwmapi.h of the Windows 11 SDK: DWMWA_WINDOW_CORNER_PREFERENCE and DWMWCP_DONOTROUND.
constexpr DWORD kCornerPreference = 33;
constexpr DWORD kDoNotRound = 1;

using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

}  // namespace

void KeepCornersSquare(HWND window) {
    // Looked up at run time: dwmapi.dll is missing on systems before Vista.
    static const auto set = [] {
        HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return dwm ? reinterpret_cast<SetAttribute>(
                         reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")))
                   : nullptr;
    }();
    if (!set) return;
    const DWORD preference = kDoNotRound;
    set(window, kCornerPreference, &preference, sizeof preference);
}
