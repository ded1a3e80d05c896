// flat-look-gdi-bench.exe: what the flat look costs to paint through GDI, under Wine or Windows.
// One pop-up of the File menu's size (its items painted off screen one by one into the menu's
// window, as WM_DRAWITEM does, then the window's frame and its shadow from a snapshot, as
// WM_PRINT does) and one push button (the record its dialog passes on, painted off screen and
// copied). Prints the median and the quartiles of the runs in microseconds.
//   flat-look-gdi-bench.exe [RUNS]   (default 2000)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "toolkit/menu_wnd_xp.h"
#include "toolkit/menu_xp.h"
#include "toolkit/win32/win32_menu_xp.h"
#include "toolkit/win32/win32_surface.h"
#include "toolkit/win32/win32_system_colors.h"
#include "toolkit/win32/win32_xp_button.h"
#include "ui/dialog_ids.h"
#include "ui/menu_model.h"

namespace {

void Report(const char* what, const char* size, std::vector<double>& micros) {
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[static_cast<std::size_t>(q * (micros.size() - 1))];
    };
    std::printf("%-28s %-10s median %8.1f us   (quartiles %.1f .. %.1f, %zu runs)\n", what, size,
                at(0.5), at(0.25), at(0.75), micros.size());
}

std::vector<double> Time(int runs, const std::function<void()>& paint) {
    std::vector<double> micros;
    for (int i = 0; i < runs / 10 + 1; ++i) paint();  // warm the caches and GDI's fonts
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        paint();
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    return micros;
}

// The menu bar's File menu, converted as when it opens.
HMENU FileMenu() {
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : FindMenu(ids::kMenuBar)[0].items) {
        if (item.IsSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.command),
                        Widen(item.text).c_str());
        }
    }
    Win32MenuXP::ConvertMenu(nullptr, menu, true, false);
    return menu;
}

void BenchFileMenu(int runs) {
    HMENU menu = FileMenu();
    const int count = GetMenuItemCount(menu);
    std::vector<DRAWITEMSTRUCT> items;
    int top = 3;
    int width = 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_DATA;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemData = info.dwItemData;
        Win32MenuXP::MeasureItem(measure);
        width = static_cast<int>(measure.itemWidth);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemID = info.wID;
        item.hwndItem = reinterpret_cast<HWND>(menu);
        item.rcItem = {3, top, 0, top + static_cast<int>(measure.itemHeight)};
        item.itemData = info.dwItemData;
        items.push_back(item);
        top += static_cast<int>(measure.itemHeight);
    }
    // The window: 3 pixels of frame around the items, and the shadow's 4.
    const Size size{width + 6 + CMenuWndXP::kShadow, top + 3 + CMenuWndXP::kShadow};
    for (DRAWITEMSTRUCT& item : items) item.rcItem.right = 3 + width;
    auto window = Win32Surface::Create(size);
    auto behind = Win32Surface::Create(size);
    behind->GetCanvas().FillSolidRect({0, 0, size.width, size.height}, Rgb(200, 190, 170));
    const SystemColors colors = Win32SystemColors();
    CMenuWndXP frame(true);
    for (DRAWITEMSTRUCT& item : items) item.hDC = window->Dc();
    if (Win32MenuXP::DrawItem(items.front(), nullptr)) {
        std::vector<double> micros = Time(runs, [&] {
            // Whether they paint was checked once before the timing.
            for (const DRAWITEMSTRUCT& item : items) {
                static_cast<void>(Win32MenuXP::DrawItem(item, nullptr));
            }
            frame.OnPrint(window->GetCanvas(), behind.get(), {0, 0, size.width, size.height}, true,
                          colors);
        });
        const std::string label = std::to_string(size.width) + " x " + std::to_string(size.height);
        Report("File menu pop-up", label.c_str(), micros);
    } else {
        std::printf("File menu pop-up: its items paint nothing here\n");
    }
    DestroyMenu(menu);
}

void BenchButton(int runs) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND control = CreateWindowExW(0, L"BUTTON", L"\xC2DC\xC791", WS_CHILD | BS_PUSHBUTTON, 10, 10,
                                   75, 23, parent, nullptr, nullptr, nullptr);
    Win32XPButton button;
    if (!parent || !button.Attach(control)) {
        std::printf("push button: no window could be made here\n");
        return;
    }
    auto target = Win32Surface::Create({75, 23});
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = control;
    item.hDC = target->Dc();
    item.itemState = ODS_FOCUS;
    item.rcItem = {0, 0, 75, 23};
    if (Win32XPButton::ReflectDrawItem(item)) {
        // Whether it paints was checked once before the timing.
        std::vector<double> micros =
            Time(runs, [&] { static_cast<void>(Win32XPButton::ReflectDrawItem(item)); });
        Report("push button (focused)", "75 x 23", micros);
    } else {
        std::printf("push button: it paints nothing here\n");
    }
    button.Detach();
    DestroyWindow(parent);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs =
        argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 2000;
    BenchFileMenu(runs);
    BenchButton(runs);
    return 0;
}
