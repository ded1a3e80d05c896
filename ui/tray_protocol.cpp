#include "ui/tray_protocol.h"

#include "ui/system_tray.h"

TrayProtocol ChooseTrayProtocol(const TrayPresence& presence) {
    if (presence.watcherOnBus && presence.hostRegistered) return TrayProtocol::StatusNotifier;
    if (presence.xembedTray) return TrayProtocol::XEmbed;
    return TrayProtocol::None;
}

std::uint32_t TrayClickMessage(TrayProtocol protocol, TrayClick click) {
    switch (click) {
        case TrayClick::Context:
            return CSystemTray::kRButtonUp;
        case TrayClick::Double:
            return CSystemTray::kLButtonDblClk;
        case TrayClick::Single:
            break;
    }
    return protocol == TrayProtocol::StatusNotifier ? CSystemTray::kLButtonDblClk
                                                    : CSystemTray::kLButtonUp;
}
