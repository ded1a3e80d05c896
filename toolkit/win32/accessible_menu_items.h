#pragma once

#include <windows.h>
// clang-format off
#include <oleacc.h>
// clang-format on

#include <cstdint>
#include <string>

// Owner-drawn menu items and screen readers. The system's menu proxy cannot read the text of an
// owner-drawn item; it takes the item data as a pointer to an MSAAMENUINFO and reads the text
// from there. So the item data of every converted item points to one of these records, the
// MSAAMENUINFO first and the toolkit's packed measures after it. The records live here, one for
// each item position of a menu, until the menu is gone.
struct AccessibleMenuItem {
    MSAAMENUINFO msaa{};
    std::uint32_t measures = 0;
    std::wstring text;
};

namespace accessible_menu_items {

// The item data for the item at `position` of `menu`: its record, made or refreshed with
// `measures` and the item's string as the menu holds it (empty for a separator). Records of
// menus that no longer exist are dropped first.
ULONG_PTR Store(HMENU menu, UINT position, std::uint32_t measures);
// The packed measures in item data that Store made; any other value is read as the packed
// measures themselves.
std::uint32_t Measures(ULONG_PTR itemData);
// Drops every record.
void Clear();

}  // namespace accessible_menu_items
