#include "toolkit/win32/gdi_canvas.h"

#include "base/win32/wide_text.h"
#include "toolkit/win32/gdi_surface.h"

namespace {

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void GdiCanvas::FillSolidRect(const Rect& rect, Color color) {
    // An opaque empty text fills with the background colour: no brush to make and free.
    const RECT r = ToRect(rect);
    const COLORREF previous = SetBkColor(m_dc, color);
    ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(m_dc, previous);
}

void GdiCanvas::DrawLine(Point from, Point to, Color color) {
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ previous = SelectObject(m_dc, pen);
    POINT was;
    MoveToEx(m_dc, from.x, from.y, &was);
    LineTo(m_dc, to.x, to.y);
    MoveToEx(m_dc, was.x, was.y, nullptr);
    SelectObject(m_dc, previous);
    DeleteObject(pen);
}

Color GdiCanvas::GetPixel(Point at) const { return ::GetPixel(m_dc, at.x, at.y); }

void GdiCanvas::SetPixel(Point at, Color color) { SetPixelV(m_dc, at.x, at.y, color); }

void GdiCanvas::DrawText(std::string_view text, const Rect& rect, unsigned flags, Color color) {
    std::wstring wide = Widen(text);
    RECT r = ToRect(rect);
    const COLORREF previousColor = SetTextColor(m_dc, color);
    const int previousMode = SetBkMode(m_dc, TRANSPARENT);
    // The flags carry GDI's own values.
    ::DrawTextW(m_dc, wide.data(), static_cast<int>(wide.size()), &r, flags);
    SetBkMode(m_dc, previousMode);
    SetTextColor(m_dc, previousColor);
}

Size GdiCanvas::GetTextExtent(std::string_view text) const {
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return {size.cx, size.cy};
}

void GdiCanvas::CopySurface(const Surface& source, const Rect& from, Point to) {
    const auto* surface = dynamic_cast<const GdiSurface*>(&source);
    if (!surface) return;
    // BitBlt leaves out what lies outside the source's bitmap.
    BitBlt(m_dc, to.x, to.y, from.Width(), from.Height(), surface->Dc(), from.left, from.top,
           SRCCOPY);
}
