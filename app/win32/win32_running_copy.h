#pragma once

#include <windows.h>

#include <string>

#include "app/running_copy.h"

// The marker of the running copy: a named semaphore, held open until the process ends.
class SemaphoreMarker final : public CopyMarker {
public:
    explicit SemaphoreMarker(std::wstring name) : m_name(std::move(name)) {}
    [[nodiscard]] bool Claim() override;

private:
    std::wstring m_name;
};

// The desktop's top-level windows; the mark is a window property of the program's name.
class Win32DesktopWindows final : public DesktopWindows {
public:
    explicit Win32DesktopWindows(std::wstring markName) : m_markName(std::move(markName)) {}

    Handle First() override;
    Handle Next(Handle window) override;
    bool IsWindow(Handle window) override;
    bool HasMark(Handle window) override;
    void Restore(Handle window) override;
    void SetForeground(Handle window) override;
    Handle LastActivePopup(Handle window) override;

private:
    std::wstring m_markName;
};
