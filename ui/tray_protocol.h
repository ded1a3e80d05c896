#pragma once

#include <cstdint>
#include <string>

// How the desktop shows the icon, if at all.
enum class TrayProtocol {
    None,            // no notification area yet
    XEmbed,          // an X11 system tray docks the icon's window
    StatusNotifier,  // a D-Bus tray host (StatusNotifierItem) shows it
};

// What the desktop offers now.
struct TrayPresence {
    // org.kde.StatusNotifierWatcher is on the session bus...
    bool watcherOnBus = false;
    // ...and says that a host (a panel that shows the items) is registered with it.
    bool hostRegistered = false;
    // An X11 system tray owns its selection.
    bool xembedTray = false;
    // Who runs the watcher (its connection's unique name): another one knows nothing of the icon.
    std::string watcher;
};

// A D-Bus host when one is registered, as Qt decides; else an X11 tray when there is one.
TrayProtocol ChooseTrayProtocol(const TrayPresence& presence);

// A click on the icon as the desktop reports it.
enum class TrayClick { Single, Double, Context };

// The mouse message that CSystemTray expects for `click`. D-Bus hosts send one activation for a
// click and never a double click: there a click does what a double click does on an X11 tray.
std::uint32_t TrayClickMessage(TrayProtocol protocol, TrayClick click);
