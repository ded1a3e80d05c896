#include "toolkit/menu_xp.h"

#include <algorithm>
#include <map>
#include <vector>

#include "base/utf8.h"
#include "toolkit/menu_item_xp.h"
#include "toolkit/owner_draw.h"

Rect CMenuXP::ms_rcMenuBarItem{};
std::uint8_t CMenuXP::ms_nDrawCount = 0;

namespace {

constexpr std::size_t kMaxText = 255;

// The remembered texts and images: an item that opens a pop-up is filed by that pop-up, any other
// by its command. A later item with the same key replaces the earlier one.
std::map<unsigned, std::string>& TextByCommand() {
    static std::map<unsigned, std::string> table;
    return table;
}
std::map<MenuHandle, std::string>& TextBySubmenu() {
    static std::map<MenuHandle, std::string> table;
    return table;
}
std::map<unsigned, MenuImage>& ImageByCommand() {
    static std::map<unsigned, MenuImage> table;
    return table;
}
std::map<MenuHandle, MenuImage>& ImageBySubmenu() {
    static std::map<MenuHandle, MenuImage> table;
    return table;
}

template <typename Table>
void DropDeadMenus(MenuAccess& menus, Table& table) {
    std::erase_if(table, [&](const auto& entry) { return !menus.IsMenu(entry.first); });
}

// Cuts a text to at most 255 bytes without splitting a UTF-8 sequence.
std::string Clip(std::string text) {
    text.resize(CutUtf8(text, kMaxText).size());
    return text;
}

// The code points of UTF-8 text, with ASCII letters in upper case; a byte that starts no
// well-formed sequence stands for itself.
std::vector<char32_t> UpperCodePoints(std::string_view text) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceLength(text.substr(i));
        const auto lead = static_cast<unsigned char>(text[i]);
        char32_t c = lead;
        if (n > 1) {
            c = lead & (0xFF >> (n + 1));
            for (std::size_t k = 1; k < n; ++k) {
                c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            }
        }
        points.push_back(c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c);
        i += n > 0 ? n : 1;
    }
    return points;
}

char32_t Upper(char32_t c) { return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c; }

}  // namespace

const std::string* CMenuXP::FindText(const MenuItemInfo& info) {
    if (info.hSubMenu) {
        const auto it = TextBySubmenu().find(info.hSubMenu);
        return it == TextBySubmenu().end() ? nullptr : &it->second;
    }
    const auto it = TextByCommand().find(info.wID);
    return it == TextByCommand().end() ? nullptr : &it->second;
}

std::optional<MenuImage> CMenuXP::FindImage(const MenuItemInfo& info) {
    if (info.hSubMenu) {
        const auto it = ImageBySubmenu().find(info.hSubMenu);
        if (it != ImageBySubmenu().end()) return it->second;
        return std::nullopt;
    }
    const auto it = ImageByCommand().find(info.wID);
    if (it != ImageByCommand().end()) return it->second;
    return std::nullopt;
}

void CMenuXP::ClearTables() {
    TextByCommand().clear();
    TextBySubmenu().clear();
    ImageByCommand().clear();
    ImageBySubmenu().clear();
}

int CMenuXP::ItemHeight(int fontHeight) { return std::max(fontHeight + 2, 16) + 4; }

int CMenuXP::SeparatorHeight(int fontHeight) { return fontHeight / 2 + 2; }

void CMenuXP::ConvertMenu(MenuAccess& menus, MenuHandle menu, bool enabled, bool menuBar,
                          Canvas& measure, const CommandImages* images) {
    if (!enabled) return;
    DropDeadMenus(menus, TextBySubmenu());
    DropDeadMenus(menus, ImageBySubmenu());
    const int count = menus.GetItemCount(menu);

    const CanvasFont previousFont = measure.GetFont();
    measure.SetFont({FontFace::kGui, kWeightNormal});
    const int fontHeight = measure.GetFontHeight();
    const int itemHeight = ItemHeight(fontHeight);
    const int separatorHeight = SeparatorHeight(fontHeight);

    for (int i = 0; i < count; ++i) {
        const auto position = static_cast<unsigned>(i);
        MenuItemInfo info;
        std::string text;
        if (!menus.ReadItem(menu, position, true, info, &text)) continue;
        if ((info.fType & menu_bits::kOwnerDraw) ||
            (menuBar && (info.fType & menu_bits::kBitmap))) {
            continue;
        }
        text = Clip(std::move(text));
        info.fType |= menu_bits::kOwnerDraw;
        if (menuBar) {
            const int width = measure.MeasureText(text, TextFlags::kSingleLine).width;
            info.dwItemData = static_cast<std::uint32_t>(width) << 16;
        }
        // An item the menu refuses keeps the system's look; what is filed for it goes unused.
        static_cast<void>(menus.WriteItem(menu, position, info, menuBar));
        if (info.fType & menu_bits::kSeparator) continue;

        if (info.hSubMenu) {
            TextBySubmenu()[info.hSubMenu] = text;
        } else {
            TextByCommand()[info.wID] = text;
        }
        if (!images) continue;
        if (const auto image = images->Find(info.wID)) {
            if (info.hSubMenu) {
                ImageBySubmenu()[info.hSubMenu] = *image;
            } else {
                ImageByCommand()[info.wID] = *image;
            }
        }
    }

    if (!menuBar) {
        int widestText = 0;
        int widestAccelerator = 0;
        for (int i = 0; i < count; ++i) {
            const CMenuItemXP item(menus, menu, static_cast<unsigned>(i), true);
            widestText = std::max(widestText, item.GetTextWidth(measure));
            widestAccelerator = std::max(widestAccelerator, item.GetAcceleratorWidth(measure));
        }
        const std::uint32_t columns = (static_cast<std::uint32_t>(widestText) & 0xFFFF) << 16 |
                                      (static_cast<std::uint32_t>(widestAccelerator) & 0xFF) << 8;
        for (int i = 0; i < count; ++i) {
            const auto position = static_cast<unsigned>(i);
            MenuItemInfo info;
            if (!menus.ReadItem(menu, position, true, info, nullptr)) continue;
            info.dwItemData = (info.fType & menu_bits::kSeparator)
                                  ? static_cast<std::uint32_t>(separatorHeight) & 0xFF
                                  : columns | (static_cast<std::uint32_t>(itemHeight) & 0xFF);
            // An item the menu refuses keeps its earlier measures.
            static_cast<void>(menus.WriteItem(menu, position, info, true));
        }
    }
    measure.SetFont(previousFont);
}

Size CMenuXP::MeasureItem(std::uint32_t d) {
    const int height = static_cast<int>(d & 0xFF);
    if (height != 0) {
        return {static_cast<int>((d >> 16) + ((d >> 8) & 0xFF)) + kItemMargins, height};
    }
    return {static_cast<int>(d >> 16) + kMenuBarExtra, 0};
}

bool CMenuXP::IsOwnerDrawnMenu(MenuAccess& menus, MenuHandle menu) {
    MenuItemInfo info;
    return menus.ReadItem(menu, 0, true, info, nullptr) &&
           (info.fType & menu_bits::kOwnerDraw) != 0;
}

std::uint32_t CMenuXP::FindMnemonic(MenuAccess& menus, MenuHandle menu, char32_t character,
                                    unsigned flags) {
    const unsigned kinds = flags & (menu_bits::kSysMenu | menu_bits::kPopup);
    if (kinds != menu_bits::kPopup && flags != 0) return 0;
    const char32_t key = Upper(character);
    const int count = menus.GetItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const CMenuItemXP item(menus, menu, static_cast<unsigned>(i), true);
        std::string text;
        item.GetText(text);
        const std::vector<char32_t> points = UpperCodePoints(text);
        // From the end: of two marks the later one counts; a mark in the last place marks nothing.
        for (int j = static_cast<int>(points.size()) - 2; j >= 0; --j) {
            const auto at = static_cast<std::size_t>(j);
            if (points[at] == U'&' && Upper(points[at + 1]) == key &&
                (j == 0 || points[at - 1] != U'&')) {
                return (menu_bits::kExecute << 16) | static_cast<std::uint32_t>(i & 0xFFFF);
            }
        }
    }
    return 0;
}

bool CMenuXP::DrawItem(const DrawItemRecord& record, MenuAccess& menus, Canvas& buffer,
                       const SystemColors& colors, bool keyboardCues, bool* openMenuBarItem) {
    if (openMenuBarItem) *openMenuBarItem = false;
    if (record.ctlType != menu_bits::kMenuControl) return false;
    const CMenuItemXP item(menus, record.menu, record.itemID, false);
    const CanvasFont previousFont = buffer.GetFont();
    buffer.SetFont({FontFace::kGui, kWeightNormal});
    const unsigned s = record.itemState;
    const MenuItemDrawState state{.selected = (s & ods::kSelected) != 0,
                                  .menuBar = (record.itemData & 0xFF) == 0,
                                  .hotLight = (s & ods::kHotLight) != 0,
                                  .inactive = (s & ods::kInactive) != 0,
                                  .noAccel = (s & ods::kNoAccel) != 0,
                                  .keyboardCues = keyboardCues,
                                  .grayed = (s & (ods::kGrayed | ods::kDisabled)) != 0};
    const bool open = item.Draw(buffer, record.rcItem, state, colors);
    if (openMenuBarItem) *openMenuBarItem = open;
    ++ms_nDrawCount;
    buffer.SetFont(previousFont);
    return true;
}

void CMenuXP::PlaceMenuBarItem(Point clientOrigin, const Rect& firstItem, bool ownerIsDialog) {
    Rect& r = ms_rcMenuBarItem;
    const int shift = ownerIsDialog ? 1 : 0;
    r = {r.left + clientOrigin.x + shift, firstItem.top, r.right + clientOrigin.x + shift,
         firstItem.bottom};
}
