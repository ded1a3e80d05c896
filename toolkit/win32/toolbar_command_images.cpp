#include "toolkit/win32/toolbar_command_images.h"

#include <algorithm>
#include <map>
#include <memory>

#include "toolkit/win32/image_list_strip.h"

namespace {

// The pictures of every image list a menu took images from. The menus' tables point at these
// strips, so an entry is never removed; when a list is read again its pictures are redrawn into
// the same entry, which keeps those pointers good and shows a toolbar's changed images.
std::map<HIMAGELIST, std::unique_ptr<ImageListStrip>>& Strips() {
    static std::map<HIMAGELIST, std::unique_ptr<ImageListStrip>> strips;
    return strips;
}

BOOL CALLBACK CollectToolbar(HWND window, LPARAM list) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (lstrcmpiW(name, TOOLBARCLASSNAMEW) == 0) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

}  // namespace

ToolbarCommandImages::ToolbarCommandImages(HWND owner) {
    if (owner) EnumChildWindows(owner, CollectToolbar, reinterpret_cast<LPARAM>(&m_toolbars));
}

std::optional<MenuImage> ToolbarCommandImages::Find(unsigned command) const {
    for (HWND toolbar : m_toolbars) {
        TBBUTTONINFOW button{};
        button.cbSize = sizeof button;
        button.dwMask = TBIF_IMAGE | TBIF_COMMAND;
        if (SendMessageW(toolbar, TB_GETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&button)) ==
                -1 ||
            static_cast<unsigned>(button.idCommand) != command || button.iImage == -1) {
            continue;
        }
        auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
        if (!list) return std::nullopt;
        auto& strip = Strips()[list];
        if (std::find(m_refreshed.begin(), m_refreshed.end(), list) == m_refreshed.end()) {
            if (strip) {
                *strip = ImageListStrip(list);
            } else {
                strip = std::make_unique<ImageListStrip>(list);
            }
            m_refreshed.push_back(list);
        }
        if (!strip->Get() || button.iImage < 0 || button.iImage >= strip->Strip().Count()) {
            return std::nullopt;
        }
        return MenuImage{strip->Get(), button.iImage};
    }
    return std::nullopt;
}
