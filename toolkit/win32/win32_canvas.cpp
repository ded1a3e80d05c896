#include "toolkit/win32/win32_canvas.h"

#include <algorithm>

#include "base/win32/wide_text.h"
#include "toolkit/win32/dc_selectors.h"
#include "toolkit/win32/win32_geometry.h"
#include "toolkit/win32/win32_surface.h"

void Win32Canvas::FillSolidRect(const Rect& rect, Color color) {
    // GDI would turn a rectangle whose edges are swapped the right way round; it holds no pixel.
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    // An opaque empty text fills with the background colour: no brush to make and free.
    const RECT r = ToRECT(rect);
    const COLORREF previous = SetBkColor(m_dc, color);
    ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(m_dc, previous);
}

void Win32Canvas::DrawLine(Point from, Point to, Color color) {
    const CPenDC pen(m_dc, color);
    POINT was;
    MoveToEx(m_dc, from.x, from.y, &was);
    LineTo(m_dc, to.x, to.y);
    MoveToEx(m_dc, was.x, was.y, nullptr);
}

Color Win32Canvas::GetPixel(Point at) const { return ::GetPixel(m_dc, at.x, at.y); }

void Win32Canvas::SetPixel(Point at, Color color) { SetPixelV(m_dc, at.x, at.y, color); }

void Win32Canvas::DrawText(std::string_view text, const Rect& rect, unsigned flags, Color color) {
    std::wstring wide = Widen(text);
    RECT r = ToRECT(rect);
    const COLORREF previousColor = SetTextColor(m_dc, color);
    const int previousMode = SetBkMode(m_dc, TRANSPARENT);
    // The flags carry GDI's own values.
    ::DrawTextW(m_dc, wide.data(), static_cast<int>(wide.size()), &r, flags);
    SetBkMode(m_dc, previousMode);
    SetTextColor(m_dc, previousColor);
}

Size Win32Canvas::GetTextExtent(std::string_view text) const {
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(m_dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return {size.cx, size.cy};
}

void Win32Canvas::CopySurface(const Surface& source, const Rect& from, Point to) {
    const auto* surface = dynamic_cast<const Win32Surface*>(&source);
    if (!surface) return;
    // BitBlt leaves out what lies outside the source's bitmap.
    BitBlt(m_dc, to.x, to.y, from.Width(), from.Height(), surface->Dc(), from.left, from.top,
           SRCCOPY);
}

Win32Canvas::~Win32Canvas() {
    if (m_originalFont) SelectObject(m_dc, m_originalFont);
    if (m_ownFont) DeleteObject(m_ownFont);
}

void Win32Canvas::SetFont(CanvasFont font) {
    HGDIOBJ stock = GetStockObject(font.face == FontFace::kGui ? DEFAULT_GUI_FONT : SYSTEM_FONT);
    LOGFONTW description{};
    GetObjectW(stock, sizeof description, &description);
    HGDIOBJ chosen = stock;
    HFONT made = nullptr;
    if (description.lfWeight != font.weight) {
        description.lfWeight = font.weight;
        made = CreateFontIndirectW(&description);
        if (made) chosen = made;
    }
    HGDIOBJ previous = SelectObject(m_dc, chosen);
    if (!m_originalFont) m_originalFont = previous;
    if (m_ownFont) DeleteObject(m_ownFont);
    m_ownFont = made;
    m_font = font;
}

int Win32Canvas::GetFontHeight() const {
    TEXTMETRICW metrics{};
    GetTextMetricsW(m_dc, &metrics);
    return metrics.tmHeight;
}

Size Win32Canvas::MeasureText(std::string_view text, unsigned flags) const {
    std::wstring wide = Widen(text);
    RECT r{0, 0, 0, 0};
    ::DrawTextW(
        m_dc, wide.data(), static_cast<int>(wide.size()), &r,
        (flags & (TextFlags::kNoPrefix | TextFlags::kHidePrefix)) | DT_CALCRECT | DT_SINGLELINE);
    return {r.right - r.left, GetFontHeight()};
}

void Win32Canvas::DrawTextAt(Point at, std::string_view text, Color color) {
    const std::wstring wide = Widen(text);
    const COLORREF previousColor = SetTextColor(m_dc, color);
    const int previousMode = SetBkMode(m_dc, TRANSPARENT);
    const UINT previousAlign = SetTextAlign(m_dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    TextOutW(m_dc, at.x, at.y, wide.c_str(), static_cast<int>(wide.size()));
    SetTextAlign(m_dc, previousAlign);
    SetBkMode(m_dc, previousMode);
    SetTextColor(m_dc, previousColor);
}

void Win32Canvas::DrawTransparent(const Surface& source, const Rect& from, Point to,
                                  Color transparent) {
    CopyKeyed(source, from, to, transparent, kNoColor);
}

void Win32Canvas::DrawSilhouette(const Surface& source, const Rect& from, Point to,
                                 Color transparent, Color color) {
    CopyKeyed(source, from, to, transparent, color);
}

// Pixel by pixel: the images it copies are a menu's small glyphs, and the result is exact.
void Win32Canvas::CopyKeyed(const Surface& source, const Rect& from, Point to, Color transparent,
                            Color color) {
    const auto* surface = dynamic_cast<const Win32Surface*>(&source);
    if (!surface) return;
    const Size size = surface->GetSize();
    for (int y = std::max(from.top, 0); y < std::min(from.bottom, size.height); ++y) {
        for (int x = std::max(from.left, 0); x < std::min(from.right, size.width); ++x) {
            const COLORREF pixel = ::GetPixel(surface->Dc(), x, y);
            if (pixel == CLR_INVALID || pixel == transparent) continue;
            SetPixelV(m_dc, to.x + x - from.left, to.y + y - from.top,
                      color == kNoColor ? pixel : color);
        }
    }
}
