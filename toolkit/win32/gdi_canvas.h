#pragma once

#include <windows.h>

#include "toolkit/canvas.h"

// Canvas over a GDI device context. Whatever it selects into the context it puts back before the
// call returns; text goes out in the font selected into the context.
class GdiCanvas final : public Canvas {
public:
    explicit GdiCanvas(HDC dc) : m_dc(dc) {}

    void FillSolidRect(const Rect& rect, Color color) override;
    void DrawLine(Point from, Point to, Color color) override;
    Color GetPixel(Point at) const override;
    void SetPixel(Point at, Color color) override;
    void DrawText(std::string_view text, const Rect& rect, unsigned flags, Color color) override;
    Size GetTextExtent(std::string_view text) const override;
    // Copies from a GdiSurface; other surfaces are not this platform's and copy nothing.
    void CopySurface(const Surface& source, const Rect& from, Point to) override;

    // The context drawn on, for pictures that draw themselves through GDI.
    HDC Dc() const { return m_dc; }

    // What GetPixel returns where no pixel can be read (GDI's CLR_INVALID).
    static constexpr Color kInvalidColor = 0xFFFFFFFF;

private:
    HDC m_dc;
};
