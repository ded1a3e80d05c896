#!/usr/bin/python3
"""Prints the tray menu that the program with process id PID exports, as a D-Bus tray host reads
it from the item its watcher lists: the items' labels joined by "|", a check state after a label
as ":0" or ":1", a separator as "---". Fails when the watcher lists no item of that process."""
import sys

import dbus

PROPERTIES = dbus.PROPERTIES_IFACE


def main():
    pid = int(sys.argv[1])
    bus = dbus.SessionBus()
    watcher = bus.get_object("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")
    items = watcher.Get("org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems",
                        dbus_interface=PROPERTIES)
    for entry in items:
        service, slash, path = entry.partition("/")
        owner = bus.call_blocking("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                  "org.freedesktop.DBus", "GetConnectionUnixProcessID", "s",
                                  (service,))
        if owner != pid:
            continue
        item = bus.get_object(service, slash + path if path else "/StatusNotifierItem")
        menu = item.Get("org.kde.StatusNotifierItem", "Menu", dbus_interface=PROPERTIES)
        _, layout = bus.get_object(service, menu).GetLayout(
            0, -1, dbus.Array([], signature="s"), dbus_interface="com.canonical.dbusmenu")
        shown = []
        for child in layout[2]:
            props = child[1]
            if props.get("type") == "separator":
                shown.append("---")
            elif "toggle-state" in props:
                shown.append(f"{props.get('label', '')}:{int(props['toggle-state'])}")
            else:
                shown.append(str(props.get("label", "")))
        print("|".join(shown))
        return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
