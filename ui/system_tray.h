#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct MenuPopup;

// What the tray icon's logic needs of the desktop and of the program's main window.
class TrayHost {
public:
    virtual ~TrayHost() = default;
    // Puts the icon into the notification area; false when the desktop refuses it.
    [[nodiscard]] virtual bool AddIcon(int iconId, std::string_view tip) = 0;
    virtual void RemoveIcon() = 0;
    [[nodiscard]] virtual bool ReplaceIcon(int iconId) = 0;
    // Brings the main window forward (a hidden window stays hidden).
    virtual void SetForeground() = 0;
    // Opens `popup` at the mouse cursor; the command chosen goes to the main window's handlers.
    virtual void TrackPopupMenu(const MenuPopup& popup, int defaultCommand) = 0;
    // Hands the icon's menu over before the icon is added, for a notification area that draws
    // menus itself (a D-Bus tray host); the others open it through TrackPopupMenu.
    virtual void OfferMenu(const MenuPopup& /*popup*/, int /*defaultCommand*/) {}
    // Runs `command` in the main window at once.
    virtual void SendCommand(int command) = 0;
};

// The notification-area icon: adds it, adds it again whenever the desktop makes its notification
// area anew, and turns the mouse events reported for it into actions on the main window.
class CSystemTray {
public:
    // Mouse messages as the desktop reports them for the icon.
    static constexpr std::uint32_t kLButtonDown = 0x0201;
    static constexpr std::uint32_t kLButtonUp = 0x0202;
    static constexpr std::uint32_t kLButtonDblClk = 0x0203;
    static constexpr std::uint32_t kRButtonDown = 0x0204;
    static constexpr std::uint32_t kRButtonUp = 0x0205;
    static constexpr std::uint32_t kMouseMove = 0x0200;
    // The tip's capacity, without its terminator.
    static constexpr std::size_t kMaxTipBytes = 63;

    CSystemTray() = default;
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;
    ~CSystemTray();

    // The pop-up shown is the first one of the menu resource whose id is the low 16 bits of `id`.
    // A tip too long for the icon is cut at a character boundary.
    [[nodiscard]] bool AddToTray(TrayHost& host, std::string_view tip, int iconId,
                                 std::uint32_t id);
    // Takes the icon away for good: a new notification area does not bring it back.
    void RemoveFromTray();
    [[nodiscard]] bool ReplaceIcon(int iconId);
    // The desktop made its notification area anew (its shell restarted, or the area appeared
    // after the program started), empty: the icon, when it is meant to be shown, is added again,
    // shown or refused before, with its latest picture. True when it is shown now.
    bool OnNotificationAreaCreated();
    // `id` is the icon the desktop reports, `message` the mouse message. Returns 0 when the event
    // was not for this icon or its menu cannot be found, else 1.
    long HandleTrayCallback(std::uint32_t id, std::uint32_t message);

    bool Enabled() const { return m_enabled; }

private:
    // The icon's pop-up and its default command, when its menu resource has one.
    struct Popup {
        const MenuPopup& popup;
        // -1 for an empty pop-up, which has no command.
        int defaultCommand;
        // What the menu shows as its default: nothing for an empty pop-up.
        int MenuDefault() const { return defaultCommand < 0 ? 0 : defaultCommand; }
    };
    std::optional<Popup> FindPopup() const;
    bool AddIcon();

    TrayHost* m_host = nullptr;
    bool m_enabled = false;
    // AddToTray was called and RemoveFromTray was not.
    bool m_wanted = false;
    int m_iconId = 0;
    std::uint32_t m_id = 0;
    std::string m_tip;
};
