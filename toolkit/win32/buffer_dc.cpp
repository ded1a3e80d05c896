#include "toolkit/win32/buffer_dc.h"

CBufferDC::CBufferDC(HDC target, const RECT& area) : m_target(target), m_area(area) {
    if (IsRectEmpty(&area)) GetClipBox(target, &m_area);
    if (GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER) {
        m_dc = target;
        return;
    }
    m_dc = CreateCompatibleDC(target);
    m_bitmap = CreateCompatibleBitmap(target, m_area.right, m_area.bottom);
    m_previousBitmap = SelectObject(m_dc, m_bitmap);
    if (m_area.top > 0) ExcludeClipRect(m_dc, 0, 0, m_area.right, m_area.top);
    if (m_area.left > 0) ExcludeClipRect(m_dc, 0, m_area.top, m_area.left, m_area.bottom);
}

CBufferDC::~CBufferDC() {
    if (m_dc == m_target) return;
    BitBlt(m_target, m_area.left, m_area.top, m_area.right - m_area.left,
           m_area.bottom - m_area.top, m_dc, m_area.left, m_area.top, SRCCOPY);
    SelectObject(m_dc, m_previousBitmap);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}
