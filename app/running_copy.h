#pragma once

#include <cstdint>

// How a second start of the program finds the first copy's window: the top-level windows in
// their z-order, each asked for the program's mark.
class DesktopWindows {
public:
    using Handle = std::uintptr_t;
    virtual ~DesktopWindows() = default;
    // The topmost window, then the one below each; 0 past the last.
    virtual Handle First() = 0;
    virtual Handle Next(Handle window) = 0;
    virtual bool IsWindow(Handle window) = 0;
    // Whether the window carries the running copy's mark.
    virtual bool HasMark(Handle window) = 0;
    virtual void Restore(Handle window) = 0;
    virtual void SetForeground(Handle window) = 0;
    // The window's last active pop-up (a message box, the About box), or the window itself.
    virtual Handle LastActivePopup(Handle window) = 0;
};

// The marker that only one copy of the program holds, for as long as it runs.
class CopyMarker {
public:
    virtual ~CopyMarker() = default;
    // True when this copy now holds the marker; false when another copy held it already.
    [[nodiscard]] virtual bool Claim() = 0;
};

// What the system answered when this copy made the marker.
enum class MarkerAnswer {
    Made,          // a new marker, now this copy's
    AlreadyThere,  // another copy's
    Refused,       // one that exists but this user may not open: an elevated copy's
    Failed,        // none, for any other reason
};

// Whether this copy may run as the first after `answer`: a marker that exists, whether it can be
// opened or not, belongs to a running copy; one that could not be made at all lets this copy run.
bool MayRunAsFirst(MarkerAnswer answer);

// The first marked window of the z-order is restored and brought forward, with its last active
// pop-up in front of it. Returns whether one was found.
[[nodiscard]] bool RaiseRunningCopy(DesktopWindows& windows);

// True when another copy runs (its window has been brought forward, if it has one yet); false
// when this is the first copy, which then holds the marker.
bool IsAlreadyRunning(CopyMarker& marker, DesktopWindows& windows);
