#pragma once

#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <vector>

#include "toolkit/menu_xp.h"

// The images of a window's menu commands on Windows: those of its toolbars ("ToolbarWindow32"
// among its child windows, in their order), as a frame's menus show them beside the items that
// have a toolbar button too. Made for one conversion of a menu: the pictures of each image list
// it finds are taken afresh, then kept for the menus' tables until the process ends.
class ToolbarCommandImages final : public CommandImages {
public:
    explicit ToolbarCommandImages(HWND owner);

    std::optional<MenuImage> Find(unsigned command) const override;

private:
    std::vector<HWND> m_toolbars;
    // The image lists whose pictures this conversion took already.
    mutable std::vector<HIMAGELIST> m_refreshed;
};
