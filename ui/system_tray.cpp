#include "ui/system_tray.h"

#include "ui/menu_model.h"

namespace {

// Cuts `text` to at most `bytes` bytes without splitting a UTF-8 sequence.
std::string_view CutUtf8(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
    return text.substr(0, bytes);
}

}  // namespace

CSystemTray::~CSystemTray() { RemoveFromTray(); }

bool CSystemTray::AddToTray(TrayHost& host, std::string_view tip, int iconId, std::uint32_t id) {
    m_host = &host;
    m_id = id;
    m_tip = std::string(CutUtf8(tip, kMaxTipBytes));
    m_iconId = iconId;
    m_wanted = true;
    m_enabled = host.AddIcon(iconId, m_tip);
    return m_enabled;
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
    m_enabled = m_host->AddIcon(m_iconId, m_tip);
    return m_enabled;
}

long CSystemTray::HandleTrayCallback(std::uint32_t id, std::uint32_t message) {
    if (id != m_id || m_host == nullptr) return 0;
    const auto menu = FindMenu(static_cast<int>(m_id & 0xFFFF));

    if (message == kRButtonUp) {
        if (menu.empty()) return 0;
        const MenuPopup& popup = menu.front();
        int defaultCommand = static_cast<int>(m_defaultMenuItem);
        if (m_defaultByPosition) {
            defaultCommand =
                m_defaultMenuItem < popup.items.size() ? popup.items[m_defaultMenuItem].command : 0;
        }
        m_host->SetForeground();
        m_host->TrackPopupMenu(popup, defaultCommand);
        return 1;
    }
    if (message == kLButtonDblClk) {
        m_host->SetForeground();
        int command = static_cast<int>(m_defaultMenuItem);
        if (m_defaultByPosition) {
            if (menu.empty()) return 0;
            const MenuPopup& popup = menu.front();
            // A position past the end has no command, as with the window system's menus.
            command = m_defaultMenuItem < popup.items.size()
                          ? popup.items[m_defaultMenuItem].command
                          : -1;
        }
        m_host->SendCommand(command);
        return 1;
    }
    return 1;
}
