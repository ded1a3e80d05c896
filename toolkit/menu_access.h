#pragma once

#include <cstdint>
#include <string>

// A menu of the platform's, as the menu toolkit reads and changes it: its items by position or by
// command, with the fields of MENUITEMINFO the toolkit uses. Windows: HMENU and the user32 menu
// calls; Linux: a Qt menu's actions.
using MenuHandle = std::uintptr_t;  // 0: no menu

// The type and state bits of a menu item and the flags of a menu-character notice, with the values
// Windows gives them.
namespace menu_bits {
inline constexpr unsigned kBitmap = 0x0004;      // MFT_BITMAP
inline constexpr unsigned kOwnerDraw = 0x0100;   // MFT_OWNERDRAW
inline constexpr unsigned kRadioCheck = 0x0200;  // MFT_RADIOCHECK
inline constexpr unsigned kSeparator = 0x0800;   // MFT_SEPARATOR
inline constexpr unsigned kGrayed = 0x0003;      // MFS_GRAYED (both bits)
inline constexpr unsigned kChecked = 0x0008;     // MFS_CHECKED
inline constexpr unsigned kDefault = 0x1000;     // MFS_DEFAULT
inline constexpr unsigned kPopup = 0x0010;       // MF_POPUP, of a menu-character notice
inline constexpr unsigned kSysMenu = 0x2000;     // MF_SYSMENU
inline constexpr unsigned kExecute = 2;          // MNC_EXECUTE
inline constexpr unsigned kMenuControl = 1;      // ODT_MENU
}  // namespace menu_bits

struct MenuItemInfo {
    unsigned fType = 0;
    unsigned fState = 0;
    unsigned wID = 0;
    MenuHandle hSubMenu = 0;  // the pop-up the item opens, if any
    std::uint32_t dwItemData = 0;
};

class MenuAccess {
public:
    virtual ~MenuAccess() = default;
    // The number of items, 0 for no menu.
    virtual int GetItemCount(MenuHandle menu) = 0;
    // Reads an item, by position or else by command; `text`, when given, receives its string
    // (UTF-8, at most 255 bytes). False, leaving `info` and `text` alone, when there is none.
    [[nodiscard]] virtual bool ReadItem(MenuHandle menu, unsigned item, bool byPosition,
                                        MenuItemInfo& info, std::string* text) = 0;
    // Sets the type of the item at `position` and, when `withData`, its item data.
    [[nodiscard]] virtual bool WriteItem(MenuHandle menu, unsigned position,
                                         const MenuItemInfo& info, bool withData) = 0;
    // Whether `menu` is still a menu.
    virtual bool IsMenu(MenuHandle menu) = 0;
};
