#include "ui/qt/qt_tray_host.h"

#include <QCursor>

#include "base/qt/qt_text.h"
#include "toolkit/qt/flat_menu.h"
#include "ui/dialog_ids.h"
#include "ui/menu_model.h"
#include "ui/qt/qt_menu.h"

QtTrayHost::QtTrayHost(CSystemTray& tray, IconLoader icons, CommandSink commands, CheckQuery checks,
                       std::function<void()> foreground)
    : m_tray(tray),
      m_icons(std::move(icons)),
      m_commands(std::move(commands)),
      m_checks(std::move(checks)),
      m_foreground(std::move(foreground)) {
    QObject::connect(&m_icon, &QSystemTrayIcon::activated, &m_icon,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         const std::uint32_t id = ids::kTrayMenu;
                         switch (reason) {
                             case QSystemTrayIcon::Context:
                                 m_tray.HandleTrayCallback(id, CSystemTray::kRButtonUp);
                                 break;
                             case QSystemTrayIcon::DoubleClick:
                                 m_tray.HandleTrayCallback(id, CSystemTray::kLButtonDblClk);
                                 break;
                             case QSystemTrayIcon::Trigger:
                                 m_tray.HandleTrayCallback(id, CSystemTray::kLButtonUp);
                                 break;
                             default:
                                 break;
                         }
                     });
}

QtTrayHost::~QtTrayHost() {
    // The tray logic may outlive this host: leave it nothing to call.
    m_tray.RemoveFromTray();
    m_icon.hide();
}

bool QtTrayHost::AddIcon(int iconId, std::string_view tip) {
    m_icon.setIcon(m_icons(iconId));
    m_icon.setToolTip(FromUtf8(tip));
    // Shown even while no tray exists: it docks as soon as one appears.
    m_icon.show();
    return true;
}

void QtTrayHost::RemoveIcon() { m_icon.hide(); }

bool QtTrayHost::ReplaceIcon(int iconId) {
    m_icon.setIcon(m_icons(iconId));
    return true;
}

void QtTrayHost::SetForeground() { m_foreground(); }

void QtTrayHost::TrackPopupMenu(const MenuPopup& popup, int defaultCommand) {
    std::unique_ptr<QMenu> menu = std::make_unique<FlatMenu>();
    menu->setObjectName("TrayMenu");
    qt_menu::Fill(
        *menu, popup, [this](int command) { SendCommand(command); }, defaultCommand);
    qt_menu::UpdateChecks(*menu, m_checks);
    m_menu = std::move(menu);
    m_menu->popup(QCursor::pos());
}

void QtTrayHost::SendCommand(int command) { m_commands(command); }
