#include "toolkit/win32/dc_selectors.h"

COLORREF CPenDC::Color() const {
    LOGPEN pen{};
    GetObjectW(m_pen.Get(), sizeof pen, &pen);
    return pen.lopnColor;
}

void CBrushDC::Color(COLORREF color) {
    // The stock hollow brush is not the brush's to delete.
    if (color == CLR_NONE) {
        m_brush.Select(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), false);
    } else {
        m_brush.Select(CreateSolidBrush(color), true);
    }
}

CFontDC::CFontDC(HDC dc, int stockFont, COLORREF textColor) : m_dc(dc), m_font(dc) {
    Font(stockFont);
    if (textColor != CLR_DEFAULT) Color(textColor);
}

CFontDC::~CFontDC() {
    if (m_savedColor != CLR_INVALID) SetTextColor(m_dc, m_savedColor);
}

void CFontDC::Color(COLORREF textColor) {
    if (m_savedColor == CLR_INVALID) m_savedColor = GetTextColor(m_dc);
    SetTextColor(m_dc, textColor);
}

CBoldDC::CBoldDC(HDC dc, bool bold) : m_font(dc) {
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    const bool change = bold ? font.lfWeight != FW_BOLD : font.lfWeight == FW_BOLD;
    if (!change) return;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    m_font.Select(CreateFontIndirectW(&font), true);
}
