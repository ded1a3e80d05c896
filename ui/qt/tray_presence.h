#pragma once

#include <QObject>
#include <functional>

#include "ui/tray_protocol.h"

// What notification areas the desktop offers now: a D-Bus tray host on the session bus, an X11
// system tray on the display.
TrayPresence CurrentTrayPresence();

// Calls `changed` (in `context`'s thread, while `context` lives) whenever a D-Bus tray watcher
// comes or goes, a host registers with it, or an X11 system tray appears.
void WatchTrayPresence(QObject* context, std::function<void()> changed);
