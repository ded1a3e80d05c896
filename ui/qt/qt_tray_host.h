#pragma once

#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/qt/tray_presence.h"
#include "ui/system_tray.h"
#include "ui/tray_protocol.h"

// The tray icon on the Linux desktop, in an X11 system tray or a D-Bus tray host, made once the
// desktop offers either. Its mouse events go to CSystemTray, and commands from its menu go to the
// main window's handlers.
class QtTrayHost final : public TrayHost {
public:
    using IconLoader = std::function<QIcon(int)>;
    using CommandSink = std::function<void(int)>;
    using CheckQuery = std::function<std::optional<bool>(int)>;
    using PresenceQuery = std::function<TrayPresence()>;

    // `presence` tells what notification areas the desktop offers now.
    QtTrayHost(CSystemTray& tray, IconLoader icons, CommandSink commands, CheckQuery checks,
               std::function<void()> foreground, PresenceQuery presence = CurrentTrayPresence);
    ~QtTrayHost() override;

    [[nodiscard]] bool AddIcon(int iconId, std::string_view tip) override;
    void RemoveIcon() override;
    [[nodiscard]] bool ReplaceIcon(int iconId) override;
    void SetForeground() override;
    void TrackPopupMenu(const MenuPopup& popup, int defaultCommand) override;
    void OfferMenu(const MenuPopup& popup, int defaultCommand) override;
    void SendCommand(int command) override;

    // Gives the menu a D-Bus tray host draws the check marks of the program's state now.
    void RefreshMenu();

    // A notification area shows the icon (an X11 tray only while one runs).
    bool Available() const;

    // The menu opened last (for tests), or null.
    QMenu* Menu() const { return m_menu.get(); }
    // The menu exported to a D-Bus tray host (for tests), or null.
    QMenu* HostMenu() const { return m_hostMenu.get(); }
    // The icon once a notification area exists (for tests), or null.
    QSystemTrayIcon* Icon() const { return m_icon.get(); }

private:
    void OnDesktopChanged();
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    CSystemTray& m_tray;
    IconLoader m_icons;
    CommandSink m_commands;
    CheckQuery m_checks;
    std::function<void()> m_foreground;
    PresenceQuery m_presence;
    // Receives the desktop's notices.
    QObject m_context;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    // How the icon was made: Qt keeps its choice for the process.
    TrayProtocol m_protocol = TrayProtocol::None;
    // The D-Bus watcher the icon registered with, by its connection's name.
    std::string m_watcher;
    std::unique_ptr<QMenu> m_menu;
    // Exported over D-Bus; the host draws it in the desktop's own look.
    std::unique_ptr<QMenu> m_hostMenu;
};
