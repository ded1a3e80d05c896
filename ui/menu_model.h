#pragma once

#include <span>
#include <string_view>

// One item of a menu resource: a command with its text, or a separator (command 0).
struct MenuItem {
    int command = 0;
    std::string_view text;
    bool IsSeparator() const { return command == 0; }
};

// One pop-up of a menu resource, with its title in the menu bar.
struct MenuPopup {
    std::string_view title;
    std::span<const MenuItem> items;
};

// The pop-ups of menu resource `id` (129: menu bar, 149: tray); empty for an unknown id.
std::span<const MenuPopup> FindMenu(int id);
