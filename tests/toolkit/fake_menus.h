#pragma once

#include <map>
#include <string>
#include <vector>

#include "toolkit/menu_access.h"

// Menus kept in memory as the window system keeps them: items with their type, state, command,
// pop-up and item data, and a string. Handles are small numbers; destroyed menus are no menus.
class FakeMenus final : public MenuAccess {
public:
    struct Item {
        MenuItemInfo info;
        std::string text;
    };

    MenuHandle Create() {
        m_menus[++m_last] = {};
        return m_last;
    }
    void Destroy(MenuHandle menu) { m_menus.erase(menu); }
    // Appends a command item, a separator (text empty, command 0) or a pop-up.
    void Add(MenuHandle menu, std::string text, unsigned command, unsigned type = 0,
             unsigned state = 0, MenuHandle submenu = 0) {
        if (text.empty() && command == 0 && !submenu) type |= menu_bits::kSeparator;
        m_menus[menu].push_back({{type, state, command, submenu, 0}, std::move(text)});
    }
    std::vector<Item>& Items(MenuHandle menu) { return m_menus[menu]; }
    int writes = 0;

    int GetItemCount(MenuHandle menu) override {
        const auto it = m_menus.find(menu);
        return it == m_menus.end() ? 0 : static_cast<int>(it->second.size());
    }
    bool ReadItem(MenuHandle menu, unsigned item, bool byPosition, MenuItemInfo& info,
                  std::string* text) override {
        const Item* found = Find(menu, item, byPosition);
        if (!found) return false;
        info = found->info;
        if (text) *text = found->text;
        return true;
    }
    bool WriteItem(MenuHandle menu, unsigned position, const MenuItemInfo& info,
                   bool withData) override {
        Item* found = Find(menu, position, true);
        if (!found) return false;
        ++writes;
        found->info.fType = info.fType;
        if (withData) found->info.dwItemData = info.dwItemData;
        return true;
    }
    bool IsMenu(MenuHandle menu) override { return m_menus.count(menu) != 0; }

private:
    Item* Find(MenuHandle menu, unsigned item, bool byPosition) {
        const auto it = m_menus.find(menu);
        if (it == m_menus.end()) return nullptr;
        if (byPosition) return item < it->second.size() ? &it->second[item] : nullptr;
        // As Windows finds items by command: the first with that identifier, separators
        // (identifier 0) included.
        for (Item& i : it->second) {
            if (i.info.wID == item) return &i;
        }
        return nullptr;
    }

    std::map<MenuHandle, std::vector<Item>> m_menus;
    MenuHandle m_last = 0;
};
