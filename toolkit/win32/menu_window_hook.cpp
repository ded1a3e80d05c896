#include "toolkit/win32/menu_window_hook.h"

#include <map>

#include "toolkit/menu_xp.h"
#include "toolkit/win32/screen_bitmap.h"
#include "toolkit/win32/square_corners.h"
#include "toolkit/win32/win32_canvas.h"
#include "toolkit/win32/win32_geometry.h"
#include "toolkit/win32/win32_menu_xp.h"
#include "toolkit/win32/win32_system_colors.h"

namespace {

constexpr UINT kMenuSizeWindow = 0x01E2;  // MN_SIZEWINDOW: a menu window is sized for showing

MenuHookCount& HookCount() {
    static MenuHookCount count;
    return count;
}

int& KnownVersion() {
    static int code = 0;
    return code;
}

bool IsMenuWindow(HWND window) {
    wchar_t name[10] = {};
    return GetClassNameW(window, name, 10) == 6 && lstrcmpW(name, L"#32768") == 0;
}

// A copy of the screen over `area`, as a surface the canvases can read; null when none is had.
std::unique_ptr<Win32Surface> Snapshot(const RECT& area) {
    HBITMAP bitmap = GetScreenBitmap(area);
    if (!bitmap) return nullptr;
    auto surface = Win32Surface::Create({area.right - area.left, area.bottom - area.top});
    if (surface) {
        HDC memory = CreateCompatibleDC(surface->Dc());
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(surface->Dc(), 0, 0, area.right - area.left, area.bottom - area.top, memory, 0, 0,
               SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    DeleteObject(bitmap);
    return surface;
}

}  // namespace

HHOOK CMenuWindowHook::ms_hook = nullptr;

void CMenuWindowHook::InstallHook() {
    if (!HookCount().Install(ms_hook != nullptr)) return;
    ms_hook = SetWindowsHookExW(WH_CALLWNDPROC, &CMenuWindowHook::HookProc,
                                GetModuleHandleW(nullptr), GetCurrentThreadId());
}

void CMenuWindowHook::RemoveHook() {
    if (!HookCount().Remove()) return;
    while (!Records().empty()) Destroy(Records().begin()->first);
    if (ms_hook) UnhookWindowsHookEx(ms_hook);
    ms_hook = nullptr;
}

int CMenuWindowHook::RecordCount() { return static_cast<int>(Records().size()); }

int CMenuWindowHook::GetWinVersion() {
    int& code = KnownVersion();
    if (code != 0) return code;
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExW(&version)) return 0;
    code = WinVersionCode(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
    return code;
}

bool CMenuWindowHook::WithShadows() {
    // Windows shadows menus itself while this is on; systems before XP do not know it: off.
    BOOL systemShadows = FALSE;
    if (!SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &systemShadows, 0)) systemShadows = FALSE;
    return DrawsMenuShadows(GetWinVersion(), systemShadows != FALSE);
}

void CMenuWindowHook::DrawShadow(HDC source, HDC target, int W, int H) {
    Win32Canvas from(source);
    Win32Canvas to(target);
    CMenuWndXP::DrawShadow(from, to, W, H);
}

LRESULT CALLBACK CMenuWindowHook::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && (call->message == WM_CREATE || call->message == kMenuSizeWindow) &&
        Win32MenuXP::IsOwnerDrawEnabled(GetForegroundWindow()) && IsMenuWindow(call->hwnd)) {
        Subclass(call->hwnd);
    }
    return CallNextHookEx(ms_hook, code, wParam, lParam);
}

void CMenuWindowHook::Subclass(HWND window) {
    auto& record = Records()[window];
    if (!record) record.reset(new Record{window, CMenuWndXP(WithShadows()), nullptr});
    if (GetPropW(window, kOldProcProperty)) return;
    KeepCornersSquare(window);
    const LONG_PTR previous = GetWindowLongPtrW(window, GWLP_WNDPROC);
    if (!previous || !SetPropW(window, kOldProcProperty, reinterpret_cast<HANDLE>(previous))) {
        return;
    }
    if (!SetWindowLongPtrW(window, GWLP_WNDPROC,
                           reinterpret_cast<LONG_PTR>(&CMenuWindowHook::MenuWndProc))) {
        RemovePropW(window, kOldProcProperty);
    }
}

CMenuWindowHook::Record* CMenuWindowHook::Find(HWND window) {
    const auto found = Records().find(window);
    return found == Records().end() ? nullptr : found->second.get();
}

void CMenuWindowHook::Destroy(HWND window) {
    if (HANDLE previous = GetPropW(window, kOldProcProperty)) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(window, kOldProcProperty);
    }
    Records().erase(window);
}

LRESULT CALLBACK CMenuWindowHook::MenuWndProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    // Read first: destroying the record takes the property away.
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kOldProcProperty));
    Record* record = Find(window);
    const auto callPrevious = [&] {
        return previous ? CallWindowProcW(previous, window, message, wParam, lParam)
                        : DefWindowProcW(window, message, wParam, lParam);
    };
    switch (message) {
        case WM_WINDOWPOSCHANGING:
            if (record) {
                auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
                CMenuWndXP::WindowPos p{pos->x, pos->y, pos->cx, pos->cy};
                const RECT placed{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
                MONITORINFO monitor{};
                monitor.cbSize = sizeof monitor;
                Rect work{};
                if (GetMonitorInfoW(MonitorFromRect(&placed, MONITOR_DEFAULTTONEAREST), &monitor)) {
                    work = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right,
                            monitor.rcWork.bottom};
                }
                record->look.OnWindowPosChanging(p, work);
                pos->x = p.x;
                pos->y = p.y;
                pos->cx = p.cx;
                pos->cy = p.cy;
                // The screen behind the window, copied while it still shows there: the shadow
                // darkens this, not the window's own pixels.
                if ((pos->flags & SWP_SHOWWINDOW) && !(pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) &&
                    !IsWindowVisible(window)) {
                    const Rect area = record->look.WindowSnapshotRect();
                    record->snapshot = Snapshot({area.left, area.top, area.right, area.bottom});
                }
            }
            break;
        case WM_SHOWWINDOW:
            if (!wParam && record) Destroy(window);
            break;
        case WM_ERASEBKGND:
            if (record) OnEraseBkgnd(*record);
            break;
        case WM_NCDESTROY:
            if (record) Destroy(window);
            break;
        case WM_NCCALCSIZE: {
            const LRESULT result = callPrevious();
            if (WithShadows()) {
                auto* client = reinterpret_cast<RECT*>(lParam);
                client->right -= CMenuWndXP::kShadow;
                client->bottom -= CMenuWndXP::kShadow;
            }
            return result;
        }
        case WM_NCPAINT:
            if (!record) break;
            OnNcPaint(*record);
            return 0;
        case WM_PAINT: {
            // Wine draws a menu's 3-D border inside its client area: the frame goes over it
            // again. Where the border lies outside, this repaints the same pixels.
            const LRESULT result = callPrevious();
            if (Record* painted = Find(window)) PaintFrame(*painted);
            return result;
        }
        case WM_PRINT: {
            const std::uint8_t drawn = CMenuXP::ms_nDrawCount;
            const LRESULT result = callPrevious();
            if (Record* printed = Find(window)) {
                OnPrint(*printed, reinterpret_cast<HDC>(wParam), CMenuXP::ms_nDrawCount != drawn);
            }
            return result;
        }
        default:
            break;
    }
    return callPrevious();
}

void CMenuWindowHook::OnEraseBkgnd(Record& record) {
    if (IsWindowVisible(record.window)) return;
    RECT client;
    GetClientRect(record.window, &client);
    const Rect area = record.look.SnapshotRect({client.right, client.bottom});
    record.snapshot.reset();
    record.snapshot = Snapshot({area.left, area.top, area.right, area.bottom});
}

void CMenuWindowHook::OnNcPaint(Record& record) {
    HDC dc = GetWindowDC(record.window);
    RECT window;
    GetWindowRect(record.window, &window);
    {
        Win32Canvas canvas(dc);
        record.look.OnNcPaint(canvas, record.snapshot.get(), FromRECT(window), Win32SystemColors());
    }
    ReleaseDC(record.window, dc);
}

void CMenuWindowHook::PaintFrame(Record& record) {
    HDC dc = GetWindowDC(record.window);
    RECT window;
    GetWindowRect(record.window, &window);
    {
        Win32Canvas canvas(dc);
        record.look.PaintFrame(canvas, {window.right - window.left, window.bottom - window.top},
                               true, Win32SystemColors());
    }
    ReleaseDC(record.window, dc);
}

void CMenuWindowHook::OnPrint(Record& record, HDC dc, bool itemsPainted) {
    RECT window;
    GetWindowRect(record.window, &window);
    // The printed window lies at its own origin; the position stays the one last seen.
    const Point at = record.look.Position();
    Win32Canvas canvas(dc);
    record.look.OnPrint(
        canvas, record.snapshot.get(),
        {at.x, at.y, at.x + window.right - window.left, at.y + window.bottom - window.top},
        itemsPainted, Win32SystemColors());
}

std::map<HWND, std::unique_ptr<CMenuWindowHook::Record>>& CMenuWindowHook::Records() {
    static std::map<HWND, std::unique_ptr<Record>> records;
    return records;
}
