#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/canvas.h"
#include "toolkit/image_strip.h"
#include "toolkit/menu_access.h"
#include "toolkit/system_colors.h"

// An image of a menu command: a picture of a strip.
struct MenuImage {
    const ImageStrip* images = nullptr;
    int index = 0;
};

// Where a menu finds the images of its commands: the toolbar buttons of the frame that owns it,
// each toolbar in turn.
class CommandImages {
public:
    virtual ~CommandImages() = default;
    // The image of the first toolbar button that has command `command`, if any.
    virtual std::optional<MenuImage> Find(unsigned command) const = 0;
};

// The record of a WM_DRAWITEM notice, as the menus read it.
struct DrawItemRecord {
    unsigned ctlType = menu_bits::kMenuControl;
    unsigned itemID = 0;
    unsigned itemState = 0;  // ods:: bits
    MenuHandle menu = 0;
    Rect rcItem;
    std::uint32_t itemData = 0;
};

// The menu manager: gives a window's menu bar and pop-ups the flat look. It keeps process-wide
// tables of the texts and images of the items it converted (owner-drawn items keep neither) and
// packs each item's measures into its item data:
//   pop-up item:  height (bits 0-7), accelerator column (8-15), text column (16-31)
//   separator:    height (bits 0-7)
//   menu-bar item: width of its text (bits 16-31); a zero low byte marks a menu-bar item.
class CMenuXP {
public:
    CMenuXP() = delete;

    // Makes every item of `menu` owner-drawn, files its text (and image, from `images` when given)
    // and, for a pop-up, writes each item's measures, taken with the canvas's dialog font. Items
    // converted before are measured again. Nothing happens unless `enabled`.
    static void ConvertMenu(MenuAccess& menus, MenuHandle menu, bool enabled, bool menuBar,
                            Canvas& measure, const CommandImages* images = nullptr);
    // The answer to WM_MEASUREITEM for an item with these item data.
    static Size MeasureItem(std::uint32_t itemData);
    // Whether the first item of `menu` is owner-drawn.
    static bool IsOwnerDrawnMenu(MenuAccess& menus, MenuHandle menu);
    // The answer to WM_MENUCHAR: MNC_EXECUTE (2) in the high word and the position of the first
    // item whose text marks `character` (any case) as its mnemonic, or 0.
    static std::uint32_t FindMnemonic(MenuAccess& menus, MenuHandle menu, char32_t character,
                                      unsigned flags);
    // Answers WM_DRAWITEM for a menu item into `buffer`, an off-screen canvas in the item's own
    // coordinates; false, painting nothing, for any other control. `openMenuBarItem` tells
    // whether the item was an open menu-bar item (then place it with PlaceMenuBarItem).
    [[nodiscard]] static bool DrawItem(const DrawItemRecord& record, MenuAccess& menus,
                                       Canvas& buffer, const SystemColors& colors,
                                       bool keyboardCues = true, bool* openMenuBarItem = nullptr);
    // Turns ms_rcMenuBarItem, stored in the owner's client coordinates by DrawItem, into screen
    // coordinates: moved by `clientOrigin` (where the client area's origin lies on the screen),
    // with the top and bottom of `firstItem` (the menu's first item on the screen), and one pixel
    // further right for a dialog, whose menu-bar items Windows reports one pixel to the left.
    static void PlaceMenuBarItem(Point clientOrigin, const Rect& firstItem, bool ownerIsDialog);

    static int ItemHeight(int fontHeight);
    static int SeparatorHeight(int fontHeight);
    // Empties the text and image tables (at exit).
    static void ClearTables();

    // The extra width of a pop-up item: 30 pixels before the text column, 12 after the
    // accelerator column.
    static constexpr int kItemMargins = 42;
    // The extra width of a menu-bar item: its shadow strip.
    static constexpr int kMenuBarExtra = 4;

    // The screen rectangle of the menu-bar item whose pop-up is open, without its shadow strip;
    // all zero at first. The pop-up's border joins it.
    static Rect ms_rcMenuBarItem;
    // Advances by one (and wraps) for every item DrawItem paints.
    static std::uint8_t ms_nDrawCount;

private:
    friend class CMenuItemXP;
    // The remembered text and image of an item: by the pop-up it opens, or else by its command.
    static const std::string* FindText(const MenuItemInfo& info);
    static std::optional<MenuImage> FindImage(const MenuItemInfo& info);
};
