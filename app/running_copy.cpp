#include "app/running_copy.h"

namespace {

// A z-order that changes during the walk could in theory lead round in a circle.
constexpr int kMaxWindows = 1 << 16;

}  // namespace

bool RaiseRunningCopy(DesktopWindows& windows) {
    int seen = 0;
    for (DesktopWindows::Handle w = windows.First(); w != 0 && windows.IsWindow(w);
         w = windows.Next(w)) {
        if (++seen > kMaxWindows) return false;
        if (!windows.HasMark(w)) continue;
        windows.Restore(w);
        windows.SetForeground(w);
        windows.SetForeground(windows.LastActivePopup(w));
        return true;
    }
    return false;
}

bool MayRunAsFirst(MarkerAnswer answer) {
    return answer == MarkerAnswer::Made || answer == MarkerAnswer::Failed;
}

bool IsAlreadyRunning(CopyMarker& marker, DesktopWindows& windows) {
    if (marker.Claim()) return false;
    // The first copy may have no window yet: this copy gives way all the same.
    static_cast<void>(RaiseRunningCopy(windows));
    return true;
}
