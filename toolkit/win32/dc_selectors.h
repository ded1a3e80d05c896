#pragma once

#include <windows.h>
// clang-format off
#include <commctrl.h>  // CLR_NONE, CLR_DEFAULT
// clang-format on

// Scoped selections into a device context that they do not own: each selects what it is asked
// for and, when it goes, puts back what was selected before it and frees what it made. Nested
// ones go in the reverse order of their making.

// A solid one-pixel pen of a colour.
class CPenDC {
public:
    CPenDC(HDC dc, COLORREF color);
    ~CPenDC();
    CPenDC(const CPenDC&) = delete;
    CPenDC& operator=(const CPenDC&) = delete;

    // Replaces the pen by one of `color`.
    void Color(COLORREF color);
    // The pen's colour, as the pen itself reports it.
    COLORREF Color() const;

private:
    void Select(COLORREF color);
    void Release();
    HDC m_dc;
    HPEN m_pen = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// A solid brush of a colour, or the stock hollow brush for CLR_NONE.
class CBrushDC {
public:
    explicit CBrushDC(HDC dc, COLORREF color = CLR_NONE);
    ~CBrushDC();
    CBrushDC(const CBrushDC&) = delete;
    CBrushDC& operator=(const CBrushDC&) = delete;

    void Color(COLORREF color);

private:
    void Select(COLORREF color);
    void Release();
    HDC m_dc;
    HBRUSH m_brush = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// A stock font (DEFAULT_GUI_FONT for the menus) and, unless CLR_DEFAULT, a text colour.
class CFontDC {
public:
    CFontDC(HDC dc, int stockFont, COLORREF textColor = CLR_DEFAULT);
    ~CFontDC();
    CFontDC(const CFontDC&) = delete;
    CFontDC& operator=(const CFontDC&) = delete;

    void Font(int stockFont);
    void Color(COLORREF textColor);

private:
    HDC m_dc;
    HGDIOBJ m_font = nullptr;
    HGDIOBJ m_previous = nullptr;
    COLORREF m_savedColor = CLR_INVALID;  // while the text colour has not been changed
};

// Makes the context's current font bold or normal. Only when the wish and the weight disagree
// (bold wished and the weight is not 700, normal wished and it is exactly 700) a font is made:
// a weight of 600 asked for bold becomes 700, asked for normal stays 600.
class CBoldDC {
public:
    CBoldDC(HDC dc, bool bold);
    ~CBoldDC();
    CBoldDC(const CBoldDC&) = delete;
    CBoldDC& operator=(const CBoldDC&) = delete;

private:
    HDC m_dc;
    HFONT m_font = nullptr;
    HGDIOBJ m_previous = nullptr;
};
