#pragma once

#include <windows.h>

#include "toolkit/canvas.h"

// Canvas over a GDI device context. Whatever it selects into the context it puts back before the
// call returns; text goes out in the font selected into the context.
class Win32Canvas final : public Canvas {
public:
    explicit Win32Canvas(HDC dc) : m_dc(dc) {}
    // Puts back the font the context had before SetFont.
    ~Win32Canvas() override;
    Win32Canvas(const Win32Canvas&) = delete;
    Win32Canvas& operator=(const Win32Canvas&) = delete;

    void FillSolidRect(const Rect& rect, Color color) override;
    void DrawLine(Point from, Point to, Color color) override;
    Color GetPixel(Point at) const override;
    void SetPixel(Point at, Color color) override;
    void DrawText(std::string_view text, const Rect& rect, unsigned flags, Color color) override;
    Size GetTextExtent(std::string_view text) const override;
    // Copies from a Win32Surface; other surfaces are not this platform's and copy nothing.
    void CopySurface(const Surface& source, const Rect& from, Point to) override;
    void SetFont(CanvasFont font) override;
    CanvasFont GetFont() const override { return m_font; }
    int GetFontHeight() const override;
    Size MeasureText(std::string_view text, unsigned flags) const override;
    void DrawTextAt(Point at, std::string_view text, Color color) override;
    void DrawTransparent(const Surface& source, const Rect& from, Point to,
                         Color transparent) override;
    void DrawSilhouette(const Surface& source, const Rect& from, Point to, Color transparent,
                        Color color) override;

    // The context drawn on, for pictures that draw themselves through GDI.
    HDC Dc() const { return m_dc; }

    // What GetPixel returns where no pixel can be read (GDI's CLR_INVALID).
    static constexpr Color kInvalidColor = 0xFFFFFFFF;

private:
    // Copies the pixels of `from` in `source` that are not `transparent` to `to`, each in its own
    // colour or, with `color` given, in that one.
    void CopyKeyed(const Surface& source, const Rect& from, Point to, Color transparent,
                   Color color);

    HDC m_dc;
    CanvasFont m_font{};
    HGDIOBJ m_originalFont = nullptr;  // the context's font before the first SetFont
    HFONT m_ownFont = nullptr;         // a font this canvas made, deleted when replaced
};
