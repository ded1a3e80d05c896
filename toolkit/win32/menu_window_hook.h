#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "toolkit/menu_wnd_xp.h"
#include "toolkit/win32/win32_surface.h"

// Gives the system's pop-up menu windows ("#32768") the flat frame and the soft shadow: a hook on
// the user-interface thread's sent messages subclasses every menu window that is created or sized
// for showing while a window with "XPWndProp_MenuXP" is in the foreground, keeping the previous
// procedure in "XPWndProp_OldProc". Each subclassed window has a record until it hides or goes.
class CMenuWindowHook {
public:
    CMenuWindowHook() = delete;

    static constexpr wchar_t kOldProcProperty[] = L"XPWndProp_OldProc";

    // Counted: nested pairs leave one hook, installed for the calling thread.
    static void InstallHook();
    static void RemoveHook();
    static bool IsHookInstalled() { return ms_hook != nullptr; }
    // How many menu windows are subclassed now.
    static int RecordCount();

    // The Windows version code (WinVersionCode), remembered once known.
    static int GetWinVersion();
    // Whether this toolkit draws the menus' shadows on this system, with its settings of now.
    static bool WithShadows();

    // The shadow strips of a W x H window: pixels read from `source`, darkened into `target`.
    static void DrawShadow(HDC source, HDC target, int W, int H);

private:
    struct Record {
        HWND window;
        CMenuWndXP look;
        std::unique_ptr<Win32Surface> snapshot;  // what lay behind the window before it showed
    };

    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MenuWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void Subclass(HWND window);
    // The records, by window; they are few and short-lived.
    static std::map<HWND, std::unique_ptr<Record>>& Records();
    static Record* Find(HWND window);
    static void Destroy(HWND window);
    static void OnEraseBkgnd(Record& record);
    static void OnNcPaint(Record& record);
    static void PaintFrame(Record& record);
    static void OnPrint(Record& record, HDC dc, bool itemsPainted);

    static HHOOK ms_hook;
};
