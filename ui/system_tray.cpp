#include "ui/system_tray.h"

#include "base/utf8.h"
#include "ui/menu_model.h"

CSystemTray::~CSystemTray() { RemoveFromTray(); }

bool CSystemTray::AddToTray(TrayHost& host, std::string_view tip, int iconId, std::uint32_t id) {
    m_host = &host;
    m_id = id;
    m_tip = std::string(CutUtf8(tip, kMaxTipBytes));
    m_iconId = iconId;
    m_wanted = true;
    return AddIcon();
}

bool CSystemTray::AddIcon() {
    if (const auto popup = FindPopup()) m_host->OfferMenu(popup->popup, popup->MenuDefault());
    m_enabled = m_host->AddIcon(m_iconId, m_tip);
    return m_enabled;
}

std::optional<CSystemTray::Popup> CSystemTray::FindPopup() const {
    const auto menu = FindMenu(static_cast<int>(m_id & 0xFFFF));
    if (menu.empty()) return std::nullopt;
    const MenuPopup& popup = menu.front();
    // The first item is the default; an empty menu has none, as with the window system's menus.
    return Popup{popup, popup.items.empty() ? -1 : popup.items.front().command};
}

void CSystemTray::RemoveFromTray() {
    m_wanted = false;
    if (!m_enabled) return;
    m_host->RemoveIcon();
    m_enabled = false;
}

bool CSystemTray::ReplaceIcon(int iconId) {
    // Also the picture a new notification area gets, even while the icon is not shown.
    if (m_wanted) m_iconId = iconId;
    if (!m_enabled) return false;
    return m_host->ReplaceIcon(iconId);
}

bool CSystemTray::OnNotificationAreaCreated() {
    if (!m_wanted) return false;
    return AddIcon();
}

long CSystemTray::HandleTrayCallback(std::uint32_t id, std::uint32_t message) {
    if (id != m_id || m_host == nullptr) return 0;
    if (message != kRButtonUp && message != kLButtonDblClk) return 1;
    const auto popup = FindPopup();
    if (message == kRButtonUp) {
        if (!popup) return 0;
        m_host->SetForeground();
        m_host->TrackPopupMenu(popup->popup, popup->MenuDefault());
        return 1;
    }
    m_host->SetForeground();
    if (!popup) return 0;
    m_host->SendCommand(popup->defaultCommand);
    return 1;
}
