#include "toolkit/win32/offscreen_surface.h"

OffscreenSurface::OffscreenSurface(HDC target, const RECT& area) : m_target(target), m_area(area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    m_dc = CreateCompatibleDC(target);
    m_bitmap = CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1);
    m_previousBitmap = SelectObject(m_dc, m_bitmap);
    m_previousFont = SelectObject(m_dc, GetCurrentObject(target, OBJ_FONT));
    SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
}

OffscreenSurface::~OffscreenSurface() {
    SetViewportOrgEx(m_dc, 0, 0, nullptr);
    BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left,
           m_area.bottom - m_area.top, m_dc, 0, 0, SRCCOPY);
    SelectObject(m_dc, m_previousFont);
    SelectObject(m_dc, m_previousBitmap);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}
