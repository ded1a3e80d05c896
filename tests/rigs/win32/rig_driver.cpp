// rig-driver.exe: the Windows rig's hands and eyes inside Wine. Each call does one thing to the
// program's windows (or the registry) and prints what it saw; exit code 1 when there was nothing
// to see. Windows are given and printed as decimal handles.
//   windows CAPTION              every top-level window so titled: "hwnd pid visible iconic"
//   toplevels                    every top-level window: "hwnd pid shown|hidden [hung]
//                                class|caption"
//   processes                    every process: "pid parentpid exe"
//   marker NAME                  a running copy's marker (a named semaphore): "held", "free" or
//                                "error N" when it cannot be opened
//   text HWND ID                 a control's text          settext HWND ID TEXT
//   click HWND ID                a button click (posted)   command HWND ID   (posted WM_COMMAND)
//   syscommand HWND ID           a system-menu command     close HWND  (the close box)
//   key HWND VK...               key presses posted to the window (virtual-key codes)
//   checked HWND ID              0 or 1                    shown HWND ID  (a control's visibility)
//   rect HWND                    "left top width height clientwidth clientheight"
//   itemrect HWND ID             a control's rectangle in client coordinates "l t r b"
//   itemcentre HWND ID           the screen point in the middle of a control "x y"
//   itemscreen HWND ID           a control's rectangle on the screen "left top width height"
//   textfit HWND ID              a label's text width on one line in the stock GUI font (the
//                                About box's labels' font), the label's width, its right edge
//                                and the dialog's client width
//   region HWND                  the window region's box "l t r b", or nothing
//   prop HWND NAME               the value of a window property
//   dialogunits X Y W H          the rectangle in pixels that the program's dialog font gives
//   itemrects HWND ID...         "id l t r b" for each control, as itemrect
//   captionfits HWND ID:FONT...  for each control, its caption's extent on one line in the font
//                                it is drawn in (FONT dialog: the labels' dialog font; gui: the
//                                flat buttons' stock GUI font) against the control:
//                                "id textwidth textheight width height"
//   clientorigin HWND            the screen point of the window's client area's top-left "x y"
//   messagebox PID               "hwnd|caption|text" of a message box of that process
//   popups PID                   "hwnd left top right bottom" of each shown menu window
//   owned HWND                   the window's last active pop-up
//   post HWND MESSAGE            posts a message (a number) with no parameters
//   picturesize HWND             "width height" of its picture control (SS_BITMAP), which takes the
//                                size of the bitmap it shows
//   regread HKLM|HKCU PATH NAME  a text value           regkey HKLM|HKCU PATH  (exists?)
//   usersmaywrite PATH           whether BUILTIN\Users may set values of HKLM\PATH
//   lockkey PATH | unlockkey PATH   HKLM\PATH readable only, as a standard user finds it; and back
//   trayremove PID ID            removes the tray icon ID of that process's tray window, as a
//                                restarting shell loses it
//   taskbarcreated               tells every window that the shell made a new notification area
//   menukey HWND CHAR            opens the menu-bar menu of that mnemonic (Alt and the letter)
//   focus HWND ID                moves the dialog's focus to a control
//   focused HWND                 the id of the control with the keyboard focus in that window's
//                                thread                 keyfocused HWND VK...  keys posted to it
//   buttontype HWND ID           a button's type bits (BS_OWNERDRAW 11 for the flat buttons)
//   syscolor INDEX               a system colour as "#RRGGBB"
//   cancelmode HWND              ends the menu mode the window's menu bar is in (WM_CANCELMODE)
//   foreground                   the foreground window
//   sendclick HWND ID            a button click sent and waited for: the milliseconds the window
//                                took to handle it (exit code 1 when it did not answer in 10 s)
//   msaa HWND                    what oleacc gives a screen reader of the window's controls:
//                                "children N of M", then "id|role|name|state" for each
//   msaamenu HWND                "role|name" of each item of the menu bar's accessible object
//   menutexts HWND [POPUP]       the MSAAMENUINFO texts of the menu bar's items (or of its pop-up
//                                at that position) and their check marks: "text|checked"
#include <windows.h>
// clang-format off
#include <aclapi.h>
#include <shellapi.h>
#include <tlhelp32.h>
// clang-format on

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/rigs/win32/accessibility_reader.h"

namespace {

void Print(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

HWND Hwnd(const wchar_t* text) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(text, nullptr, 10)));
}
long long Number(HWND window) { return static_cast<long long>(reinterpret_cast<INT_PTR>(window)); }
int Int(const wchar_t* text) { return static_cast<int>(std::wcstol(text, nullptr, 0)); }

std::wstring Text(HWND window) {
    std::wstring text(4096, L'\0');
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    text.resize(length);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(
        [](HWND w, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

HKEY Root(const wchar_t* name) {
    return std::wcscmp(name, L"HKCU") == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

INT_PTR CALLBACK SilentDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A hidden dialog with the program's dialog font (8-point MS Shell Dlg, as a shell font), as the
// program's templates are made.
HWND FontDialog() {
    std::vector<WORD> t;
    const auto dword = [&t](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    t.push_back(1);       // version
    t.push_back(0xFFFF);  // an extended template
    dword(0);             // help id
    dword(0);             // extended style
    dword(DS_SETFONT | DS_FIXEDSYS | DS_MODALFRAME | WS_POPUP | WS_CAPTION);
    t.insert(t.end(), {0, 0, 0, 100, 100});     // no controls; x, y, cx, cy
    t.insert(t.end(), {0, 0, 0});               // no menu, the dialog class, no title
    t.insert(t.end(), {8, FW_NORMAL, 0x0100});  // 8 points, weight, no italic, default charset
    for (const wchar_t* c = L"MS Shell Dlg"; *c; ++c) t.push_back(static_cast<WORD>(*c));
    t.push_back(0);
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(t.data()),
                                             nullptr, &SilentDialog, 0);
    if (!dialog) std::fprintf(stderr, "no dialog: error %lu\n", GetLastError());
    return dialog;
}

// The rectangle mapped as the program's templates are mapped.
int DialogUnits(int x, int y, int w, int h) {
    HWND dialog = FontDialog();
    if (!dialog) return 1;
    RECT r{x, y, x + w, y + h};
    MapDialogRect(dialog, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    DestroyWindow(dialog);
    return 0;
}

bool UsersMayWrite(const wchar_t* path) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL, &key) != ERROR_SUCCESS) {
        return false;
    }
    BYTE users[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof users;
    CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool found = false;
    if (GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                        nullptr, &descriptor) == ERROR_SUCCESS &&
        dacl) {
        for (DWORD i = 0; i < dacl->AceCount; ++i) {
            void* ace = nullptr;
            if (!GetAce(dacl, i, &ace)) continue;
            auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
            if (allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
                EqualSid(&allowed->SidStart, users) && (allowed->Mask & KEY_SET_VALUE)) {
                found = true;
            }
        }
    }
    LocalFree(descriptor);
    RegCloseKey(key);
    return found;
}

// Everyone may read the key and nobody write it, whatever the parent passes down; or the parent's
// rules back.
bool LockKey(const wchar_t* path, bool locked) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL | WRITE_DAC, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    BYTE world[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof world;
    CreateWellKnownSid(WinWorldSid, nullptr, world, &size);
    alignas(ACL) BYTE buffer[256];
    auto* acl = reinterpret_cast<PACL>(buffer);
    InitializeAcl(acl, sizeof buffer, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, world);
    const DWORD result =
        locked ? SetSecurityInfo(key, SE_REGISTRY_KEY,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                 nullptr, nullptr, acl, nullptr)
               : SetSecurityInfo(key, SE_REGISTRY_KEY,
                                 DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                                 nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// A label's text measured on one line, against the label's width. The font handle the label
// holds is the program's and means nothing in this process: the About box's labels are drawn in
// the stock GUI font, the same in every process, and underlining does not change the width.
int TextFit(HWND dialog, int id) {
    HWND label = GetDlgItem(dialog, id);
    RECT r, client;
    if (!label || !GetWindowRect(label, &r) || !GetClientRect(dialog, &client)) return 1;
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const std::wstring text = Text(label);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    DeleteDC(dc);
    std::printf("%ld %ld %ld %ld\n", size.cx, r.right - r.left, r.right, client.right);
    return 0;
}

// Captions' extents in the fonts they are drawn in. The font handle a control holds is the
// program's and means nothing in this process: the same fonts are made here, the labels' from a
// dialog of the program's font, the flat buttons' the stock GUI font.
int CaptionFits(HWND dialog, int count, wchar_t** items) {
    HWND fontDialog = FontDialog();
    if (!fontDialog) return 1;
    HDC dc = CreateCompatibleDC(nullptr);
    int result = 0;
    for (int i = 0; i < count; ++i) {
        const int id = Int(items[i]);
        const bool dialogFont = std::wcsstr(items[i], L":dialog") != nullptr;
        HWND control = GetDlgItem(dialog, id);
        RECT r;
        if (!control || !GetWindowRect(control, &r)) {
            result = 1;
            continue;
        }
        const std::wstring text = Text(control);
        SelectObject(dc, dialogFont
                             ? reinterpret_cast<HGDIOBJ>(SendMessageW(fontDialog, WM_GETFONT, 0, 0))
                             : GetStockObject(DEFAULT_GUI_FONT));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        std::printf("%d %ld %ld %ld %ld\n", id, size.cx, size.cy, r.right - r.left,
                    r.bottom - r.top);
    }
    DeleteDC(dc);
    DestroyWindow(fontDialog);
    return result;
}

// The shell keys icons by window and id: any process may take one away.
int TrayRemove(DWORD pid, int id) {
    for (HWND w : TopLevelWindows()) {
        if (ProcessOf(w) != pid || ClassOf(w) != L"DrovaneTrayCallback") continue;
        NOTIFYICONDATAW record{};
        record.cbSize = sizeof record;
        record.hWnd = w;
        record.uID = static_cast<UINT>(id);
        return Shell_NotifyIconW(NIM_DELETE, &record) ? 0 : 1;
    }
    return 1;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring verb = argv[1];
    const auto arg = [&](int i) { return i < argc ? argv[i] : L""; };
    if (verb == L"windows") {
        int found = 0;
        for (HWND w : TopLevelWindows()) {
            if (Text(w) != arg(2) || ClassOf(w) != L"#32770") continue;
            std::printf("%lld %lu %d %d\n", Number(w), ProcessOf(w), IsWindowVisible(w) ? 1 : 0,
                        IsIconic(w) ? 1 : 0);
            ++found;
        }
        return found ? 0 : 1;
    }
    if (verb == L"processes") {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return 1;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more;
             more = Process32NextW(snapshot, &entry)) {
            Print(std::to_wstring(entry.th32ProcessID) + L" " +
                  std::to_wstring(entry.th32ParentProcessID) + L" " + entry.szExeFile);
        }
        CloseHandle(snapshot);
        return 0;
    }
    if (verb == L"marker") {
        HANDLE semaphore = OpenSemaphoreW(SYNCHRONIZE, FALSE, arg(2));
        const DWORD error = GetLastError();
        if (semaphore) {
            std::printf("held\n");
            CloseHandle(semaphore);
        } else if (error == ERROR_FILE_NOT_FOUND) {
            std::printf("free\n");
        } else {
            std::printf("error %lu\n", error);
        }
        return 0;
    }
    if (verb == L"toplevels") {
        for (HWND w : TopLevelWindows()) {
            Print(std::to_wstring(Number(w)) + L" " + std::to_wstring(ProcessOf(w)) + L" " +
                  (IsWindowVisible(w) ? L"shown" : L"hidden") +
                  (IsHungAppWindow(w) ? L" hung " : L" ") + ClassOf(w) + L"|" + Text(w));
        }
        return 0;
    }
    if (verb == L"text") {
        HWND item = GetDlgItem(Hwnd(arg(2)), Int(arg(3)));
        if (!item) return 1;
        Print(Text(item));
        return 0;
    }
    if (verb == L"settext") {
        HWND item = GetDlgItem(Hwnd(arg(2)), Int(arg(3)));
        return item && SendMessageTimeoutW(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(4)),
                                           SMTO_ABORTIFHUNG, 5000, nullptr)
                   ? 0
                   : 1;
    }
    if (verb == L"click") {
        HWND item = GetDlgItem(Hwnd(arg(2)), Int(arg(3)));
        return item && PostMessageW(item, BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (verb == L"sendclick") {
        HWND item = GetDlgItem(Hwnd(arg(2)), Int(arg(3)));
        const ULONGLONG start = GetTickCount64();
        if (!item || !SendMessageTimeoutW(item, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, nullptr))
            return 1;
        std::printf("%llu\n", GetTickCount64() - start);
        return 0;
    }
    if (verb == L"command") {
        return PostMessageW(Hwnd(arg(2)), WM_COMMAND, static_cast<WPARAM>(Int(arg(3))), 0) ? 0 : 1;
    }
    if (verb == L"syscommand") {
        return PostMessageW(Hwnd(arg(2)), WM_SYSCOMMAND, static_cast<WPARAM>(Int(arg(3))), 0) ? 0
                                                                                              : 1;
    }
    if (verb == L"menukey") {
        return PostMessageW(Hwnd(arg(2)), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(arg(3)[0]))
                   ? 0
                   : 1;
    }
    if (verb == L"focus") {
        HWND dialog = Hwnd(arg(2));
        HWND item = GetDlgItem(dialog, Int(arg(3)));
        return item && PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE)
                   ? 0
                   : 1;
    }
    if (verb == L"focused" || verb == L"keyfocused") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(Hwnd(arg(2)), nullptr), &info) ||
            !info.hwndFocus) {
            return 1;
        }
        if (verb == L"focused") {
            std::printf("%d\n", GetDlgCtrlID(info.hwndFocus));
            return 0;
        }
        for (int i = 3; i < argc; ++i) {
            const auto vk = static_cast<WPARAM>(Int(argv[i]));
            PostMessageW(info.hwndFocus, WM_KEYDOWN, vk, 1);
            PostMessageW(info.hwndFocus, WM_KEYUP, vk, 0xC0000001);
        }
        return 0;
    }
    if (verb == L"buttontype") {
        HWND item = GetDlgItem(Hwnd(arg(2)), Int(arg(3)));
        if (!item) return 1;
        std::printf("%d\n", static_cast<int>(GetWindowLongPtrW(item, GWL_STYLE) & BS_TYPEMASK));
        return 0;
    }
    if (verb == L"syscolor") {
        const COLORREF c = GetSysColor(Int(arg(2)));
        std::printf("#%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
        return 0;
    }
    if (verb == L"cancelmode") return PostMessageW(Hwnd(arg(2)), WM_CANCELMODE, 0, 0) ? 0 : 1;
    if (verb == L"foreground") {
        std::printf("%lld\n", Number(GetForegroundWindow()));
        return 0;
    }
    if (verb == L"close") return PostMessageW(Hwnd(arg(2)), WM_CLOSE, 0, 0) ? 0 : 1;
    if (verb == L"key") {
        for (int i = 3; i < argc; ++i) {
            const auto vk = static_cast<WPARAM>(Int(argv[i]));
            PostMessageW(Hwnd(arg(2)), WM_KEYDOWN, vk, 1);
            PostMessageW(Hwnd(arg(2)), WM_KEYUP, vk, 0xC0000001);
        }
        return 0;
    }
    if (verb == L"checked") {
        HWND item = GetDlgItem(Hwnd(arg(2)), Int(arg(3)));
        if (!item) return 1;
        DWORD_PTR state = 0;
        SendMessageTimeoutW(item, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
        std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (verb == L"shown") {
        HWND item = GetDlgItem(Hwnd(arg(2)), Int(arg(3)));
        if (!item) return 1;
        std::printf("%d\n", IsWindowVisible(item) ? 1 : 0);
        return 0;
    }
    if (verb == L"rect") {
        RECT r, c;
        if (!GetWindowRect(Hwnd(arg(2)), &r) || !GetClientRect(Hwnd(arg(2)), &c)) return 1;
        std::printf("%ld %ld %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                    c.right, c.bottom);
        return 0;
    }
    if (verb == L"workarea") {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!GetMonitorInfoW(MonitorFromWindow(Hwnd(arg(2)), MONITOR_DEFAULTTOPRIMARY), &monitor)) {
            return 1;
        }
        const RECT& w = monitor.rcWork;
        std::printf("%ld %ld %ld %ld\n", w.left, w.top, w.right, w.bottom);
        return 0;
    }
    if (verb == L"itemrect") {
        HWND dialog = Hwnd(arg(2));
        RECT r;
        if (!GetWindowRect(GetDlgItem(dialog, Int(arg(3))), &r)) return 1;
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (verb == L"itemcentre") {
        RECT r;
        if (!GetWindowRect(GetDlgItem(Hwnd(arg(2)), Int(arg(3))), &r)) return 1;
        std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return 0;
    }
    if (verb == L"itemscreen") {
        RECT r;
        if (!GetWindowRect(GetDlgItem(Hwnd(arg(2)), Int(arg(3))), &r)) return 1;
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (verb == L"textfit") return TextFit(Hwnd(arg(2)), Int(arg(3)));
    if (verb == L"captionfits") return argc > 3 ? CaptionFits(Hwnd(arg(2)), argc - 3, argv + 3) : 1;
    if (verb == L"itemrects") {
        HWND dialog = Hwnd(arg(2));
        for (int i = 3; i < argc; ++i) {
            RECT r;
            if (!GetWindowRect(GetDlgItem(dialog, Int(argv[i])), &r)) return 1;
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            std::printf("%d %ld %ld %ld %ld\n", Int(argv[i]), r.left, r.top, r.right, r.bottom);
        }
        return 0;
    }
    if (verb == L"clientorigin") {
        POINT origin{0, 0};
        if (!ClientToScreen(Hwnd(arg(2)), &origin)) return 1;
        std::printf("%ld %ld\n", origin.x, origin.y);
        return 0;
    }
    if (verb == L"trayremove") return TrayRemove(static_cast<DWORD>(Int(arg(2))), Int(arg(3)));
    if (verb == L"taskbarcreated") {
        return SendNotifyMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0)
                   ? 0
                   : 1;
    }
    if (verb == L"region") {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        RECT box;
        const int kind = GetWindowRgn(Hwnd(arg(2)), region);
        if (kind == ERROR || GetRgnBox(region, &box) == ERROR) return 1;
        std::printf("%ld %ld %ld %ld\n", box.left, box.top, box.right, box.bottom);
        return 0;
    }
    if (verb == L"prop") {
        HANDLE value = GetPropW(Hwnd(arg(2)), arg(3));
        if (!value) return 1;
        std::printf("%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(value)));
        return 0;
    }
    if (verb == L"dialogunits") {
        return DialogUnits(Int(arg(2)), Int(arg(3)), Int(arg(4)), Int(arg(5)));
    }
    if (verb == L"messagebox") {
        const DWORD pid = static_cast<DWORD>(Int(arg(2)));
        for (HWND w : TopLevelWindows()) {
            if (ProcessOf(w) != pid || ClassOf(w) != L"#32770" || !IsWindowVisible(w)) continue;
            // A message box has no menu and a static text child holding its message.
            std::wstring message;
            for (HWND child = GetWindow(w, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                if (ClassOf(child) == L"Static" && !Text(child).empty()) message = Text(child);
            }
            if (message.empty() || GetMenu(w)) continue;
            Print(std::to_wstring(Number(w)) + L"|" + Text(w) + L"|" + message);
            return 0;
        }
        return 1;
    }
    if (verb == L"popups") {
        const DWORD pid = static_cast<DWORD>(Int(arg(2)));
        int found = 0;
        for (HWND w : TopLevelWindows()) {
            if (ProcessOf(w) != pid || ClassOf(w) != L"#32768" || !IsWindowVisible(w)) continue;
            RECT r;
            GetWindowRect(w, &r);
            std::printf("%lld %ld %ld %ld %ld\n", Number(w), r.left, r.top, r.right, r.bottom);
            ++found;
        }
        return found ? 0 : 1;
    }
    if (verb == L"owned") {
        std::printf("%lld\n", Number(GetLastActivePopup(Hwnd(arg(2)))));
        return 0;
    }
    if (verb == L"regread") {
        wchar_t data[1024] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        if (RegGetValueW(Root(arg(2)), arg(3), arg(4), RRF_RT_REG_SZ, nullptr, data, &size) !=
            ERROR_SUCCESS) {
            return 1;
        }
        Print(data);
        return 0;
    }
    if (verb == L"regkey") {
        HKEY key;
        if (RegOpenKeyExW(Root(arg(2)), arg(3), 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
        RegCloseKey(key);
        return 0;
    }
    if (verb == L"msaa") return accessibility_reader::PrintControls(Hwnd(arg(2)));
    if (verb == L"msaamenu") return accessibility_reader::PrintMenuBar(Hwnd(arg(2)));
    if (verb == L"menutexts") {
        return accessibility_reader::PrintMenuTexts(Hwnd(arg(2)), argc > 3 ? Int(arg(3)) : -1);
    }
    if (verb == L"usersmaywrite") return UsersMayWrite(arg(2)) ? 0 : 1;
    if (verb == L"lockkey") return LockKey(arg(2), true) ? 0 : 1;
    if (verb == L"unlockkey") return LockKey(arg(2), false) ? 0 : 1;
    if (verb == L"post") {
        return PostMessageW(Hwnd(arg(2)), static_cast<UINT>(Int(arg(3))), 0, 0) ? 0 : 1;
    }
    if (verb == L"picturesize") {
        for (HWND c = GetWindow(Hwnd(arg(2)), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (ClassOf(c) != L"Static" ||
                (GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) {
                continue;
            }
            RECT r;
            GetClientRect(c, &r);
            std::printf("%ld %ld\n", r.right, r.bottom);
            return 0;
        }
        return 1;
    }
    return 2;
}

// Measures in the screen's own pixels, as the program (per-monitor aware) and X see them: an
// unaware process reads every window's rectangle, the dialog units and the screen scaled to
// 96 dpi (Wine 10 does so, as Windows does). Looked up at run time: older systems lack it.
void MeasureInPhysicalPixels() {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (!set || !set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) SetProcessDPIAware();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    MeasureInPhysicalPixels();
    // Lines end in "\n" alone, as the shell reading them expects.
    _setmode(_fileno(stdout), _O_BINARY);
    const int result = Run(argc, argv);
    std::fflush(stdout);
    return result;
}
