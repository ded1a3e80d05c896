#include "ui/qt/tray_presence.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

bool OnX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

xcb_connection_t* X11Connection() {
    if (!OnX11()) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, std::string_view name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
            nullptr),
        &free);
    return atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The X11 system tray of the first screen owns this selection.
constexpr std::string_view kTraySelection = "_NET_SYSTEM_TRAY_S0";

bool XEmbedTrayPresent() {
    xcb_connection_t* connection = X11Connection();
    if (!connection) return false;
    const xcb_atom_t selection = Atom(connection, kTraySelection);
    if (selection == XCB_ATOM_NONE) return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection),
                                      nullptr),
        &free);
    return owner && owner->owner != XCB_NONE;
}

// A system tray that takes its selection announces itself to every client with a MANAGER message
// on the root window, which Qt's X11 platform listens to.
class TrayAnnouncements final : public QObject, public QAbstractNativeEventFilter {
public:
    TrayAnnouncements(xcb_connection_t* connection, QTimer* relay)
        : QObject(relay),
          m_relay(relay),
          m_manager(Atom(connection, "MANAGER")),
          m_selection(Atom(connection, kTraySelection)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~TrayAnnouncements() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        if (client->type == m_manager && client->data.data32[1] == m_selection) m_relay->start();
        return false;
    }

private:
    QTimer* m_relay;
    xcb_atom_t m_manager;
    xcb_atom_t m_selection;
};

}  // namespace

TrayPresence CurrentTrayPresence() {
    TrayPresence presence;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()) {
        presence.watcherOnBus = bus.interface()->isServiceRegistered(kWatcherService);
        presence.watcher = bus.interface()->serviceOwner(kWatcherService).value().toStdString();
        if (presence.watcherOnBus) {
            QDBusInterface watcher(kWatcherService, kWatcherPath, kWatcherService, bus);
            presence.hostRegistered = watcher.property("IsStatusNotifierHostRegistered").toBool();
        }
    }
    presence.xembedTray = XEmbedTrayPresent();
    return presence;
}

void WatchTrayPresence(QObject* context, std::function<void()> changed) {
    // The notices below start a zero-time timer, whose timeout reports the change once the event
    // loop runs: D-Bus signals are connected by name to a slot, and the timer has one.
    auto* relay = new QTimer(context);
    relay->setSingleShot(true);
    relay->setInterval(0);
    QObject::connect(relay, &QTimer::timeout, context, std::move(changed));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto* services = new QDBusServiceWatcher(
            kWatcherService, bus, QDBusServiceWatcher::WatchForRegistration, context);
        QObject::connect(services, &QDBusServiceWatcher::serviceRegistered, relay,
                         qOverload<>(&QTimer::start));
        // A watcher may come before the panel that shows its items.
        bus.connect(kWatcherService, kWatcherPath, kWatcherService,
                    QStringLiteral("StatusNotifierHostRegistered"), relay, SLOT(start()));
    }
    if (xcb_connection_t* connection = X11Connection()) new TrayAnnouncements(connection, relay);
}
