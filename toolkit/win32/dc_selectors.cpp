#include "toolkit/win32/dc_selectors.h"

CPenDC::CPenDC(HDC dc, COLORREF color) : m_dc(dc) { Select(color); }

CPenDC::~CPenDC() { Release(); }

void CPenDC::Select(COLORREF color) {
    m_pen = CreatePen(PS_SOLID, 1, color);
    m_previous = SelectObject(m_dc, m_pen);
}

void CPenDC::Release() {
    SelectObject(m_dc, m_previous);
    DeleteObject(m_pen);
    m_pen = nullptr;
}

void CPenDC::Color(COLORREF color) {
    // What goes back is always the pen from before the first one: the destructor restores that.
    Release();
    Select(color);
}

COLORREF CPenDC::Color() const {
    LOGPEN pen{};
    GetObjectW(m_pen, sizeof pen, &pen);
    return pen.lopnColor;
}

CBrushDC::CBrushDC(HDC dc, COLORREF color) : m_dc(dc) { Select(color); }

CBrushDC::~CBrushDC() { Release(); }

void CBrushDC::Select(COLORREF color) {
    m_brush = color == CLR_NONE ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                : CreateSolidBrush(color);
    m_previous = SelectObject(m_dc, m_brush);
}

void CBrushDC::Release() {
    SelectObject(m_dc, m_previous);
    // Deleting a stock object does nothing.
    DeleteObject(m_brush);
    m_brush = nullptr;
}

void CBrushDC::Color(COLORREF color) {
    Release();
    Select(color);
}

CFontDC::CFontDC(HDC dc, int stockFont, COLORREF textColor) : m_dc(dc) {
    Font(stockFont);
    if (textColor != CLR_DEFAULT) Color(textColor);
}

CFontDC::~CFontDC() {
    if (m_font) SelectObject(m_dc, m_previous);
    if (m_savedColor != CLR_INVALID) SetTextColor(m_dc, m_savedColor);
}

void CFontDC::Font(int stockFont) {
    if (m_font) SelectObject(m_dc, m_previous);
    m_font = GetStockObject(stockFont);
    m_previous = SelectObject(m_dc, m_font);
}

void CFontDC::Color(COLORREF textColor) {
    if (m_savedColor == CLR_INVALID) m_savedColor = GetTextColor(m_dc);
    SetTextColor(m_dc, textColor);
}

CBoldDC::CBoldDC(HDC dc, bool bold) : m_dc(dc) {
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    const bool change = bold ? font.lfWeight != FW_BOLD : font.lfWeight == FW_BOLD;
    if (!change) return;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    m_font = CreateFontIndirectW(&font);
    m_previous = SelectObject(dc, m_font);
}

CBoldDC::~CBoldDC() {
    if (m_previous) SelectObject(m_dc, m_previous);
    if (m_font) DeleteObject(m_font);
}
