#pragma once

#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <optional>

#include "ui/system_tray.h"

// The tray icon on the Linux desktop. Its mouse events go to CSystemTray, and commands from its
// menu go to the main window's handlers.
class QtTrayHost final : public TrayHost {
public:
    using IconLoader = std::function<QIcon(int)>;
    using CommandSink = std::function<void(int)>;
    using CheckQuery = std::function<std::optional<bool>(int)>;

    QtTrayHost(CSystemTray& tray, IconLoader icons, CommandSink commands, CheckQuery checks,
               std::function<void()> foreground);
    ~QtTrayHost() override;

    [[nodiscard]] bool AddIcon(int iconId, std::string_view tip) override;
    void RemoveIcon() override;
    [[nodiscard]] bool ReplaceIcon(int iconId) override;
    void SetForeground() override;
    void TrackPopupMenu(const MenuPopup& popup, int defaultCommand) override;
    void SendCommand(int command) override;

    // The menu opened last (for tests), or null.
    QMenu* Menu() const { return m_menu.get(); }

private:
    CSystemTray& m_tray;
    IconLoader m_icons;
    CommandSink m_commands;
    CheckQuery m_checks;
    std::function<void()> m_foreground;
    QSystemTrayIcon m_icon;
    std::unique_ptr<QMenu> m_menu;
    std::uint32_t m_id = 0;
};
