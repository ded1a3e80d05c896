#pragma once

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/canvas.h"

// A text the canvas was asked to draw, with where, how and in which font.
struct DrawnText {
    std::string text;
    Rect rect;  // DrawTextAt: the point as a rectangle's top-left corner, right and bottom 0
    unsigned flags = 0;
    Color color = 0;
    CanvasFont font;
    bool atPoint = false;
};

// A surface kept as a plain array of colours: portable, and every pixel access is the test's own
// code, so the thread sanitizer sees them all. It draws axis-aligned lines only, and no text: it
// writes texts down instead, and measures them in a font of fixed width. Of a density above 1, it
// keeps that many device pixels a side to a logical pixel and reads back the top-left one.
class MemorySurface final : public Surface, public Canvas {
public:
    explicit MemorySurface(Size size, Color fill = Rgb(0, 0, 0), int density = 1)
        : m_size(size),
          m_density(density),
          m_pixels(static_cast<std::size_t>(size.width * size.height * density * density), fill) {}

    // The fixed-width font: every character (byte) this wide, one more in bold; all lines this
    // high; the system font 4 wider and 3 higher.
    int charWidth = 6;
    int fontHeight = 13;
    std::vector<DrawnText> texts;

    Size GetSize() const override { return m_size; }
    Canvas& GetCanvas() override { return *this; }
    const std::vector<Color>& Pixels() const { return m_pixels; }

    void FillSolidRect(const Rect& rect, Color color) override {
        const int d = m_density;
        FillDeviceRect({rect.left * d, rect.top * d, rect.right * d, rect.bottom * d}, color);
    }
    int Density() const override { return m_density; }
    void FillDeviceRect(const Rect& rect, Color color) override {
        const Rect r = Clip(rect);
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) m_pixels[Index(x, y)] = color;
        }
    }
    // A device pixel; `at` must lie inside.
    Color DevicePixel(Point at) const { return m_pixels[Index(at.x, at.y)]; }
    void DrawLine(Point from, Point to, Color color) override {
        if (from.y == to.y && from.x != to.x) {
            const int step = to.x > from.x ? 1 : -1;
            for (int x = from.x; x != to.x; x += step) SetPixel({x, from.y}, color);
        } else if (from.x == to.x && from.y != to.y) {
            const int step = to.y > from.y ? 1 : -1;
            for (int y = from.y; y != to.y; y += step) SetPixel({from.x, y}, color);
        }
    }
    Color GetPixel(Point at) const override {
        return Inside(at) ? m_pixels[LogicalIndex(at.x, at.y)] : kOutside;
    }
    void SetPixel(Point at, Color color) override {
        if (Inside(at)) FillSolidRect({at.x, at.y, at.x + 1, at.y + 1}, color);
    }
    void DrawText(std::string_view text, const Rect& rect, unsigned flags, Color color) override {
        texts.push_back({std::string(text), rect, flags, color, m_font, false});
    }
    Size GetTextExtent(std::string_view text) const override {
        return {static_cast<int>(text.size()) * CharWidth(), FontHeight()};
    }
    void SetFont(CanvasFont font) override { m_font = font; }
    CanvasFont GetFont() const override { return m_font; }
    int GetFontHeight() const override { return FontHeight(); }
    Size MeasureText(std::string_view text, unsigned flags) const override {
        std::string shown;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '&' && !(flags & TextFlags::kNoPrefix) && i + 1 < text.size()) ++i;
            shown += text[i];
        }
        return GetTextExtent(shown);
    }
    void DrawTextAt(Point at, std::string_view text, Color color) override {
        texts.push_back({std::string(text), {at.x, at.y, 0, 0}, 0, color, m_font, true});
    }
    void DrawTransparent(const Surface& source, const Rect& from, Point to,
                         Color transparent) override {
        Stamp(source, from, to, transparent, std::nullopt);
    }
    void DrawSilhouette(const Surface& source, const Rect& from, Point to, Color transparent,
                        Color color) override {
        Stamp(source, from, to, transparent, color);
    }
    void CopySurface(const Surface& source, const Rect& from, Point to) override {
        const auto* memory = dynamic_cast<const MemorySurface*>(&source);
        if (!memory) return;
        const std::vector<Color> pixels = memory->m_pixels;  // a copy: source may be this
        for (int y = from.top; y < from.bottom; ++y) {
            for (int x = from.left; x < from.right; ++x) {
                if (!memory->Inside({x, y})) continue;
                SetPixel({to.x + x - from.left, to.y + y - from.top},
                         pixels[memory->LogicalIndex(x, y)]);
            }
        }
    }

    static constexpr Color kOutside = 0xFFFFFFFF;

private:
    int CharWidth() const {
        return charWidth + (m_font.weight >= kWeightBold ? 1 : 0) +
               (m_font.face == FontFace::kSystem ? 4 : 0);
    }
    int FontHeight() const { return fontHeight + (m_font.face == FontFace::kSystem ? 3 : 0); }
    void Stamp(const Surface& source, const Rect& from, Point to, Color transparent,
               std::optional<Color> ink) {
        const auto* memory = dynamic_cast<const MemorySurface*>(&source);
        if (!memory) return;
        const std::vector<Color> pixels = memory->m_pixels;
        for (int y = from.top; y < from.bottom; ++y) {
            for (int x = from.left; x < from.right; ++x) {
                if (!memory->Inside({x, y})) continue;
                const Color c = pixels[memory->LogicalIndex(x, y)];
                if (c == transparent) continue;
                SetPixel({to.x + x - from.left, to.y + y - from.top}, ink ? *ink : c);
            }
        }
    }

    bool Inside(Point p) const {
        return p.x >= 0 && p.y >= 0 && p.x < m_size.width && p.y < m_size.height;
    }
    // Device pixels from here on.
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y * m_size.width * m_density + x);
    }
    std::size_t LogicalIndex(int x, int y) const { return Index(x * m_density, y * m_density); }
    Rect Clip(const Rect& r) const {
        return {std::max(r.left, 0), std::max(r.top, 0),
                std::min(r.right, m_size.width * m_density),
                std::min(r.bottom, m_size.height * m_density)};
    }

    Size m_size;
    int m_density;
    std::vector<Color> m_pixels;
    CanvasFont m_font;
};

// Makes MemorySurfaces, or none while told to fail.
class MemorySurfaceFactory final : public SurfaceFactory {
public:
    std::unique_ptr<Surface> CreateSurface(Size size) override {
        if (fail || size.width <= 0 || size.height <= 0) return nullptr;
        const int area = size.width * size.height;
        for (int largest = largest_area; area > largest;) {
            if (largest_area.compare_exchange_weak(largest, area)) break;
        }
        return std::make_unique<MemorySurface>(size);
    }
    std::atomic<bool> fail{false};
    std::atomic<int> largest_area{0};  // in pixels, of any surface made
};
