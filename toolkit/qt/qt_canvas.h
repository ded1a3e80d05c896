#pragma once

#include <QFont>

#include "toolkit/canvas.h"

class QImage;
class QPainter;

// The fonts a Qt canvas offers as the stock fonts.
struct QtStockFonts {
    QFont gui;
    QFont system;
    // The application's font as the dialog font; as the system font, the same family a third
    // larger and bold, in the proportion of the Windows system font to the dialog font.
    static QtStockFonts FromApplication();
    static QtStockFonts From(const QFont& gui);
};

// Canvas over a QPainter, antialiasing off. Pixels can be read back when it paints on a QImage.
class QtCanvas final : public Canvas {
public:
    explicit QtCanvas(QPainter& painter);
    QtCanvas(QPainter& painter, QtStockFonts fonts);

    void FillSolidRect(const Rect& rect, Color color) override;
    void DrawLine(Point from, Point to, Color color) override;
    Color GetPixel(Point at) const override;
    void SetPixel(Point at, Color color) override;
    void DrawText(std::string_view text, const Rect& rect, unsigned flags, Color color) override;
    Size GetTextExtent(std::string_view text) const override;
    // Copies from a QtSurface; any other surface is left alone.
    void CopySurface(const Surface& source, const Rect& from, Point to) override;
    void SetFont(CanvasFont font) override;
    CanvasFont GetFont() const override { return m_font; }
    int GetFontHeight() const override;
    Size MeasureText(std::string_view text, unsigned flags) const override;
    void DrawTextAt(Point at, std::string_view text, Color color) override;
    // These two draw from a QtSurface; any other surface is left alone.
    void DrawTransparent(const Surface& source, const Rect& from, Point to,
                         Color transparent) override;
    void DrawSilhouette(const Surface& source, const Rect& from, Point to, Color transparent,
                        Color color) override;

    // The painter's device's pixel ratio when it is whole, else 1.
    int Density() const override;
    void FillDeviceRect(const Rect& rect, Color color) override;

    // For the Qt adapters that draw what the port has no call for (pictures).
    QPainter& Painter() { return m_painter; }

    // What GetPixel returns where no pixel can be read.
    static constexpr Color kInvalidColor = 0xFFFFFFFF;

private:
    QPainter& m_painter;
    QImage* m_image;
    QtStockFonts m_fonts;
    CanvasFont m_font;
};
