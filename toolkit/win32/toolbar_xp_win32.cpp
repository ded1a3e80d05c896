#include "toolkit/win32/toolbar_xp_win32.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <vector>

#include "toolkit/toolbar_xp.h"
#include "toolkit/win32/buffer_dc.h"
#include "toolkit/win32/gdi_canvas.h"
#include "toolkit/win32/image_list_strip.h"
#include "toolkit/win32/win32_system_colors.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x5854;  // "XT"

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

CToolBarXP::~CToolBarXP() { Detach(); }

bool CToolBarXP::Attach(HWND toolbar) {
    Detach();
    if (!toolbar || !SetWindowSubclass(toolbar, &CToolBarXP::Proc, kSubclassId,
                                       reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_toolbar = toolbar;
    InvalidateRect(toolbar, nullptr, TRUE);
    return true;
}

void CToolBarXP::Detach() {
    if (!m_toolbar) return;
    RemoveWindowSubclass(m_toolbar, &CToolBarXP::Proc, kSubclassId);
    m_toolbar = nullptr;
}

LRESULT CToolBarXP::OnDropDown(HWND frame, int button) {
    const LRESULT answer = SendMessageW(frame, WM_COMMAND, toolbar_xp::DropDownCommand(button), 0);
    return toolbar_xp::DropDownResult(static_cast<long>(answer));
}

LRESULT CALLBACK CToolBarXP::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR self) {
    auto* toolbar = reinterpret_cast<CToolBarXP*>(self);
    if (message == WM_PAINT) {
        toolbar->OnPaint();
        return 0;
    }
    if (message == WM_NCDESTROY) toolbar->Detach();
    return DefSubclassProc(window, message, wParam, lParam);
}

void CToolBarXP::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_toolbar, &paint);
    {
        CBufferDC buffer(dc, {0, 0, 0, 0});
        GdiCanvas canvas(buffer);
        canvas.SetFont({FontFace::kGui, kWeightNormal});

        ToolbarView view;
        view.area = ToRect(buffer.Area());
        RECT client;
        GetClientRect(m_toolbar, &client);
        view.client = ToRect(client);
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(m_toolbar, &cursor);
        view.cursor = {cursor.x, cursor.y};
        view.leftButtonDown = GetKeyState(VK_LBUTTON) < 0;
        view.hotItem = static_cast<int>(SendMessageW(m_toolbar, TB_GETHOTITEM, 0, 0));
        const ImageListStrip images(
            reinterpret_cast<HIMAGELIST>(SendMessageW(m_toolbar, TB_GETIMAGELIST, 0, 0)));
        view.images = images.Get();

        const auto count = static_cast<int>(SendMessageW(m_toolbar, TB_BUTTONCOUNT, 0, 0));
        std::vector<ToolbarButton> buttons;
        for (int i = 0; i < count; ++i) {
            TBBUTTON record{};
            SendMessageW(m_toolbar, TB_GETBUTTON, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&record));
            RECT r{};
            SendMessageW(m_toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&r));
            buttons.push_back(
                {record.iBitmap, record.idCommand, record.fsState, record.fsStyle, ToRect(r)});
        }
        toolbar_xp::PaintToolbar(canvas, view, buttons, Win32SystemColors());
    }
    EndPaint(m_toolbar, &paint);
}

CStatusBarXP::~CStatusBarXP() { Detach(); }

bool CStatusBarXP::Attach(HWND statusBar) {
    Detach();
    if (!statusBar || !SetWindowSubclass(statusBar, &CStatusBarXP::Proc, kSubclassId,
                                         reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_statusBar = statusBar;
    InvalidateRect(statusBar, nullptr, TRUE);
    return true;
}

void CStatusBarXP::Detach() {
    if (!m_statusBar) return;
    RemoveWindowSubclass(m_statusBar, &CStatusBarXP::Proc, kSubclassId);
    m_statusBar = nullptr;
}

LRESULT CALLBACK CStatusBarXP::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR self) {
    auto* statusBar = reinterpret_cast<CStatusBarXP*>(self);
    if (message == WM_PAINT) {
        // The control paints itself as usual; the flat frames go over its panes' edges.
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        statusBar->PaintPanes();
        return result;
    }
    if (message == WM_NCDESTROY) statusBar->Detach();
    return DefSubclassProc(window, message, wParam, lParam);
}

void CStatusBarXP::PaintPanes() {
    const auto count = static_cast<int>(SendMessageW(m_statusBar, SB_GETPARTS, 0, 0));
    std::vector<Rect> panes;
    for (int i = 0; i < count; ++i) {
        RECT r{};
        SendMessageW(m_statusBar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        panes.push_back(ToRect(r));
    }
    HDC dc = GetDC(m_statusBar);
    {
        GdiCanvas canvas(dc);
        toolbar_xp::PaintStatusBar(canvas, panes, Win32SystemColors());
    }
    ReleaseDC(m_statusBar, dc);
}
