#include "app/win32/win32_running_copy.h"

namespace {

HWND ToHwnd(DesktopWindows::Handle window) { return reinterpret_cast<HWND>(window); }
DesktopWindows::Handle ToHandle(HWND window) {
    return reinterpret_cast<DesktopWindows::Handle>(window);
}

}  // namespace

bool SemaphoreMarker::Claim() {
    HANDLE semaphore = CreateSemaphoreW(nullptr, 1, 1, m_name.c_str());
    const DWORD error = GetLastError();
    MarkerAnswer answer = MarkerAnswer::Made;  // kept open: it marks this copy
    if (error == ERROR_ALREADY_EXISTS) {
        answer = MarkerAnswer::AlreadyThere;
    } else if (!semaphore) {
        answer = error == ERROR_ACCESS_DENIED ? MarkerAnswer::Refused : MarkerAnswer::Failed;
    }
    if (answer == MarkerAnswer::AlreadyThere) CloseHandle(semaphore);
    return MayRunAsFirst(answer);
}

DesktopWindows::Handle Win32DesktopWindows::First() {
    return ToHandle(GetWindow(GetDesktopWindow(), GW_CHILD));
}

DesktopWindows::Handle Win32DesktopWindows::Next(Handle window) {
    return ToHandle(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

bool Win32DesktopWindows::IsWindow(Handle window) { return ::IsWindow(ToHwnd(window)) != FALSE; }

bool Win32DesktopWindows::HasMark(Handle window) {
    return GetPropW(ToHwnd(window), m_markName.c_str()) != nullptr;
}

void Win32DesktopWindows::Restore(Handle window) { ShowWindow(ToHwnd(window), SW_RESTORE); }

void Win32DesktopWindows::SetForeground(Handle window) { SetForegroundWindow(ToHwnd(window)); }

DesktopWindows::Handle Win32DesktopWindows::LastActivePopup(Handle window) {
    return ToHandle(GetLastActivePopup(ToHwnd(window)));
}
