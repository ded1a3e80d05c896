#include "ui/qt/qt_tray_host.h"

#include <QCursor>
#include <QGuiApplication>

#include "base/qt/qt_text.h"
#include "toolkit/qt/qt_menu_xp.h"
#include "ui/dialog_ids.h"
#include "ui/menu_model.h"
#include "ui/qt/qt_menu.h"

QtTrayHost::QtTrayHost(CSystemTray& tray, IconLoader icons, CommandSink commands, CheckQuery checks,
                       std::function<void()> foreground, PresenceQuery presence)
    : m_tray(tray),
      m_icons(std::move(icons)),
      m_commands(std::move(commands)),
      m_checks(std::move(checks)),
      m_foreground(std::move(foreground)),
      m_presence(std::move(presence)) {
    WatchTrayPresence(&m_context, [this] { OnDesktopChanged(); });
    OnDesktopChanged();
}

QtTrayHost::~QtTrayHost() {
    // The tray logic may outlive this host: leave it nothing to call.
    m_tray.RemoveFromTray();
    if (m_icon) m_icon->hide();
}

void QtTrayHost::OnDesktopChanged() {
    const TrayPresence presence = m_presence();
    const TrayProtocol now = ChooseTrayProtocol(presence);
    if (now == TrayProtocol::None) return;
    if (m_icon) {
        // Qt's X11 icon docks in a new tray by itself; a D-Bus watcher started anew knows nothing
        // of the icon until it registers again.
        if (m_protocol != TrayProtocol::StatusNotifier || presence.watcher == m_watcher) return;
    } else {
        // Qt chooses between a D-Bus and an X11 icon once per process, when it first looks: so
        // the icon is made only once a notification area exists.
        m_protocol = now;
        m_icon = std::make_unique<QSystemTrayIcon>();
        QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
    }
    m_watcher = presence.watcher;
    m_tray.OnNotificationAreaCreated();
}

void QtTrayHost::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    std::optional<TrayClick> click;
    switch (reason) {
        case QSystemTrayIcon::Context:
            click = TrayClick::Context;
            break;
        case QSystemTrayIcon::DoubleClick:
            click = TrayClick::Double;
            break;
        case QSystemTrayIcon::Trigger:
            click = TrayClick::Single;
            break;
        default:
            break;
    }
    if (click) m_tray.HandleTrayCallback(ids::kTrayMenu, TrayClickMessage(m_protocol, *click));
}

bool QtTrayHost::Available() const { return m_icon && QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtTrayHost::AddIcon(int iconId, std::string_view tip) {
    if (!m_icon) return false;
    m_icon->setIcon(m_icons(iconId));
    m_icon->setToolTip(FromUtf8(tip));
    // Hidden first, so that a D-Bus icon registers with a watcher that started anew. On X11 an
    // icon shown while no tray exists docks as soon as one appears.
    m_icon->hide();
    m_icon->show();
    return true;
}

void QtTrayHost::RemoveIcon() {
    if (m_icon) m_icon->hide();
}

bool QtTrayHost::ReplaceIcon(int iconId) {
    if (!m_icon) return false;
    m_icon->setIcon(m_icons(iconId));
    return true;
}

void QtTrayHost::SetForeground() { m_foreground(); }

void QtTrayHost::TrackPopupMenu(const MenuPopup& popup, int defaultCommand) {
    // On Wayland a menu is a pop-up only when it answers the program's own latest input; one
    // that a tray host's request opens would map as a window of its own. There every tray host
    // draws the exported menu instead.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
    std::unique_ptr<QMenu> menu = std::make_unique<QtMenuXP>();
    menu->setObjectName("TrayMenu");
    const auto send = [this](int command) { SendCommand(command); };
    qt_menu::Fill(*menu, popup, send, defaultCommand);
    qt_menu::UpdateChecks(*menu, m_checks);
    m_menu = std::move(menu);
    m_menu->popup(QCursor::pos());
}

void QtTrayHost::OfferMenu(const MenuPopup& popup, int defaultCommand) {
    // On an X11 tray Qt would open a context menu by itself; there the flat menu opens instead.
    if (m_protocol != TrayProtocol::StatusNotifier || m_hostMenu) return;
    m_hostMenu = std::make_unique<QMenu>();
    qt_menu::Fill(
        *m_hostMenu, popup, [this](int command) { SendCommand(command); }, defaultCommand);
    RefreshMenu();
    // Set before the icon shows: a host reads the item's menu once, as it finds the item.
    m_icon->setContextMenu(m_hostMenu.get());
}

void QtTrayHost::RefreshMenu() {
    if (m_hostMenu) qt_menu::UpdateChecks(*m_hostMenu, m_checks);
}

void QtTrayHost::SendCommand(int command) {
    m_commands(command);
    RefreshMenu();
}
