#pragma once

#include "toolkit/canvas.h"

class QImage;
class QPainter;

// Canvas over a QPainter, antialiasing off. Pixels can be read back when it paints on a QImage.
class QtCanvas final : public Canvas {
public:
    explicit QtCanvas(QPainter& painter);

    void FillSolidRect(const Rect& rect, Color color) override;
    void DrawLine(Point from, Point to, Color color) override;
    Color GetPixel(Point at) const override;
    void SetPixel(Point at, Color color) override;
    void DrawText(std::string_view text, const Rect& rect, unsigned flags, Color color) override;
    Size GetTextExtent(std::string_view text) const override;
    // Copies from a QtSurface; any other surface is left alone.
    void CopySurface(const Surface& source, const Rect& from, Point to) override;

    // For the Qt adapters that draw what the port has no call for (pictures).
    QPainter& Painter() { return m_painter; }

    // What GetPixel returns where no pixel can be read.
    static constexpr Color kInvalidColor = 0xFFFFFFFF;

private:
    QPainter& m_painter;
    QImage* m_image;
};
