#pragma once

#include <string>

#include "toolkit/canvas.h"
#include "toolkit/flat_look.h"
#include "toolkit/image_strip.h"
#include "toolkit/menu_access.h"
#include "toolkit/system_colors.h"

// How a menu item is to be drawn: its owner-draw state, and whether the user wants mnemonics.
struct MenuItemDrawState {
    bool selected = false;     // highlighted, or for a menu-bar item: its pop-up is open
    bool menuBar = false;      // an item of the menu bar rather than of a pop-up
    bool hotLight = false;     // a menu-bar item under the pointer
    bool inactive = false;     // in a window that is not active
    bool noAccel = false;      // mnemonics hidden until the keyboard is used
    bool keyboardCues = true;  // mnemonics underlined always, whatever noAccel says
    bool grayed = false;       // greyed by the drawing notice (ODS_GRAYED or ODS_DISABLED)
};

// One menu item as the toolkit measures and draws it: its type and state as the menu has them,
// and the text and image remembered when its menu was converted (owner-drawn items keep none).
class CMenuItemXP {
public:
    // Reads the item `item` (a position, or else a command) of `menu`, and unless it is a separator
    // looks up its text and image, by the pop-up it opens or else by its command.
    CMenuItemXP(MenuAccess& menus, MenuHandle menu, unsigned item, bool byPosition);

    // The part of the text before its first tab; returns its length.
    int GetText(std::string& text) const;
    // The part after the first tab (empty when there is no tab); returns its length.
    int GetAccelerator(std::string& accelerator) const;
    // Widths in the canvas's current font (bold for the default item): the text part without its
    // first '&', and the accelerator part as it is. 0 for separators and empty parts.
    int GetTextWidth(Canvas& canvas) const;
    int GetAcceleratorWidth(Canvas& canvas) const;

    bool IsSeparator() const;
    bool IsRadioCheck() const;
    bool IsChecked() const;
    // Either grayed bit set (MF_GRAYED or MF_DISABLED): the system menu sets one alone.
    bool IsDisabled() const;
    bool IsDefault() const;
    bool HasImage() const { return m_images && m_imageIndex != -1; }

    // Paints the item into `rect` of the canvas. Popup items use the menu's client coordinates,
    // where the image band ends at x = 22 and the text starts at x = 30. Returns true only for
    // an open menu-bar item, whose tab (without its shadow strip) it then stores in
    // CMenuXP::ms_rcMenuBarItem, in the canvas's coordinates.
    bool Draw(Canvas& canvas, const Rect& rect, const MenuItemDrawState& state,
              const SystemColors& colors) const;

    // Geometry of a popup item.
    static constexpr int kBandRight = 22;
    static constexpr int kTextLeft = 30;
    static constexpr int kAcceleratorGap = 12;
    static constexpr int kShadowWidth = 4;

private:
    MenuItemInfo m_info;
    std::string m_text;
    const ImageStrip* m_images = nullptr;
    int m_imageIndex = 0;
};
