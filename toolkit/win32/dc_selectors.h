#pragma once

#include <windows.h>
// clang-format off
#include <commctrl.h>  // CLR_NONE, CLR_DEFAULT
// clang-format on

// Scoped selections into a device context that they do not own: each selects what it is asked
// for and, when it goes, puts back what was selected before it and frees what it made. Nested
// ones go in the reverse order of their making.

// One GDI object selected into a device context. Selecting another first puts back what the last
// one replaced, so what goes back in the end is always what was selected before the first; an
// object it owns is deleted once it is no longer selected.
template <typename Handle>
class SelectedObject {
public:
    explicit SelectedObject(HDC dc) : m_dc(dc) {}
    ~SelectedObject() { Release(); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    void Select(Handle object, bool owned) {
        Release();
        m_object = object;
        m_owned = owned;
        m_previous = SelectObject(m_dc, object);
    }
    Handle Get() const { return m_object; }

private:
    void Release() {
        if (!m_object) return;
        SelectObject(m_dc, m_previous);
        if (m_owned) DeleteObject(m_object);
        m_object = nullptr;
    }

    HDC m_dc;
    Handle m_object = nullptr;
    HGDIOBJ m_previous = nullptr;
    bool m_owned = false;
};

// A solid one-pixel pen of a colour.
class CPenDC {
public:
    CPenDC(HDC dc, COLORREF color) : m_pen(dc) { Color(color); }

    // Replaces the pen by one of `color`.
    void Color(COLORREF color) { m_pen.Select(CreatePen(PS_SOLID, 1, color), true); }
    // The pen's colour, as the pen itself reports it.
    COLORREF Color() const;

private:
    SelectedObject<HPEN> m_pen;
};

// A solid brush of a colour, or the stock hollow brush for CLR_NONE.
class CBrushDC {
public:
    explicit CBrushDC(HDC dc, COLORREF color = CLR_NONE) : m_brush(dc) { Color(color); }

    void Color(COLORREF color);

private:
    SelectedObject<HBRUSH> m_brush;
};

// A stock font (DEFAULT_GUI_FONT for the menus) and, unless CLR_DEFAULT, a text colour.
class CFontDC {
public:
    CFontDC(HDC dc, int stockFont, COLORREF textColor = CLR_DEFAULT);
    ~CFontDC();
    CFontDC(const CFontDC&) = delete;
    CFontDC& operator=(const CFontDC&) = delete;

    void Font(int stockFont) { m_font.Select(GetStockObject(stockFont), false); }
    void Color(COLORREF textColor);

private:
    HDC m_dc;
    SelectedObject<HGDIOBJ> m_font;
    COLORREF m_savedColor = CLR_INVALID;  // while the text colour has not been changed
};

// Makes the context's current font bold or normal. Only when the wish and the weight disagree
// (bold wished and the weight is not 700, normal wished and it is exactly 700) a font is made:
// a weight of 600 asked for bold becomes 700, asked for normal stays 600.
class CBoldDC {
public:
    CBoldDC(HDC dc, bool bold);

private:
    SelectedObject<HFONT> m_font;
};
