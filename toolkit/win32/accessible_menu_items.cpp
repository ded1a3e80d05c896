#include "toolkit/win32/accessible_menu_items.h"

#include <iterator>
#include <map>
#include <memory>
#include <utility>

namespace {

using Key = std::pair<HMENU, UINT>;

std::map<Key, std::unique_ptr<AccessibleMenuItem>>& Records() {
    static std::map<Key, std::unique_ptr<AccessibleMenuItem>> records;
    return records;
}

void DropDeadMenus() {
    auto& records = Records();
    for (auto it = records.begin(); it != records.end();) {
        it = IsMenu(it->first.first) ? std::next(it) : records.erase(it);
    }
}

std::wstring ItemString(HMENU menu, UINT position) {
    wchar_t buffer[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = 255;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return {};
    if (info.fType & (MFT_SEPARATOR | MFT_BITMAP)) return {};
    return buffer;
}

}  // namespace

namespace accessible_menu_items {

ULONG_PTR Store(HMENU menu, UINT position, std::uint32_t measures) {
    DropDeadMenus();
    auto& record = Records()[{menu, position}];
    if (!record) record = std::make_unique<AccessibleMenuItem>();
    record->measures = measures;
    record->text = ItemString(menu, position);
    record->msaa.dwMSAASignature = MSAA_MENU_SIG;
    record->msaa.cchWText = static_cast<DWORD>(record->text.size());
    record->msaa.pszWText = record->text.data();
    return reinterpret_cast<ULONG_PTR>(record.get());
}

std::uint32_t Measures(ULONG_PTR itemData) {
    // Only a pointer to a record of ours is followed: the value is looked up, never read blindly.
    for (const auto& [key, record] : Records()) {
        if (reinterpret_cast<ULONG_PTR>(record.get()) == itemData) return record->measures;
    }
    return static_cast<std::uint32_t>(itemData);
}

void Clear() { Records().clear(); }

}  // namespace accessible_menu_items
