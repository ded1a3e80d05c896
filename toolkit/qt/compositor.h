#pragma once

// Whether the desktop composites its windows: a compositing manager owns the X selection
// _NET_WM_CM_S<screen>, or the display is not X11 at all (Wayland composites everything). Such a
// desktop draws menu shadows of its own, and the screen behind a window cannot be read.
bool DesktopComposites();
