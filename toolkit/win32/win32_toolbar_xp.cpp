#include "toolkit/win32/win32_toolbar_xp.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include <vector>

#include "toolkit/toolbar_xp.h"
#include "toolkit/win32/buffer_dc.h"
#include "toolkit/win32/image_list_strip.h"
#include "toolkit/win32/win32_canvas.h"
#include "toolkit/win32/win32_geometry.h"
#include "toolkit/win32/win32_system_colors.h"

bool CToolBarXP::Attach(HWND toolbar) {
    if (!m_subclass.Attach(toolbar, *this, &CToolBarXP::Handle)) return false;
    InvalidateRect(toolbar, nullptr, TRUE);
    return true;
}

LRESULT CToolBarXP::OnDropDown(HWND frame, int button) {
    const LRESULT answer = SendMessageW(frame, WM_COMMAND, toolbar_xp::DropDownCommand(button), 0);
    return toolbar_xp::DropDownResult(static_cast<long>(answer));
}

std::optional<LRESULT> CToolBarXP::Handle(HWND toolbar, UINT message, WPARAM, LPARAM) {
    if (message != WM_PAINT) return std::nullopt;
    OnPaint(toolbar);
    return 0;
}

void CToolBarXP::OnPaint(HWND toolbar) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(toolbar, &paint);
    {
        CBufferDC buffer(dc, {0, 0, 0, 0});
        Win32Canvas canvas(buffer);
        canvas.SetFont({FontFace::kGui, kWeightNormal});

        ToolbarView view;
        view.area = FromRECT(buffer.Area());
        RECT client;
        GetClientRect(toolbar, &client);
        view.client = FromRECT(client);
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(toolbar, &cursor);
        view.cursor = {cursor.x, cursor.y};
        view.leftButtonDown = GetKeyState(VK_LBUTTON) < 0;
        view.hotItem = static_cast<int>(SendMessageW(toolbar, TB_GETHOTITEM, 0, 0));
        const ImageListStrip images(
            reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0)));
        view.images = images.Get();

        const auto count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
        std::vector<ToolbarButton> buttons;
        for (int i = 0; i < count; ++i) {
            TBBUTTON record{};
            SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&record));
            RECT r{};
            SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&r));
            buttons.push_back(
                {record.iBitmap, record.idCommand, record.fsState, record.fsStyle, FromRECT(r)});
        }
        toolbar_xp::PaintToolbar(canvas, view, buttons, Win32SystemColors());
    }
    EndPaint(toolbar, &paint);
}

bool CStatusBarXP::Attach(HWND statusBar) {
    if (!m_subclass.Attach(statusBar, *this, &CStatusBarXP::Handle)) return false;
    InvalidateRect(statusBar, nullptr, TRUE);
    return true;
}

std::optional<LRESULT> CStatusBarXP::Handle(HWND statusBar, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message != WM_PAINT) return std::nullopt;
    // The control paints itself as usual; the flat frames go over its panes' edges.
    const LRESULT result = DefSubclassProc(statusBar, message, wParam, lParam);
    PaintPanes(statusBar);
    return result;
}

void CStatusBarXP::PaintPanes(HWND statusBar) {
    const auto count = static_cast<int>(SendMessageW(statusBar, SB_GETPARTS, 0, 0));
    std::vector<Rect> panes;
    for (int i = 0; i < count; ++i) {
        RECT r{};
        SendMessageW(statusBar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        panes.push_back(FromRECT(r));
    }
    HDC dc = GetDC(statusBar);
    {
        Win32Canvas canvas(dc);
        toolbar_xp::PaintStatusBar(canvas, panes, Win32SystemColors());
    }
    ReleaseDC(statusBar, dc);
}
