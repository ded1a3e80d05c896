#pragma once

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "toolkit/canvas.h"

// A surface kept as a plain array of colours: portable, and every pixel access is the test's own
// code, so the thread sanitizer sees them all. It draws no lines and no text.
class MemorySurface final : public Surface, public Canvas {
public:
    explicit MemorySurface(Size size, Color fill = Rgb(0, 0, 0))
        : m_size(size), m_pixels(static_cast<std::size_t>(size.width * size.height), fill) {}

    Size GetSize() const override { return m_size; }
    Canvas& GetCanvas() override { return *this; }
    const std::vector<Color>& Pixels() const { return m_pixels; }

    void FillSolidRect(const Rect& rect, Color color) override {
        const Rect r = Clip(rect);
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) m_pixels[Index(x, y)] = color;
        }
    }
    void DrawLine(Point, Point, Color) override {}
    Color GetPixel(Point at) const override {
        return Inside(at) ? m_pixels[Index(at.x, at.y)] : kOutside;
    }
    void SetPixel(Point at, Color color) override {
        if (Inside(at)) m_pixels[Index(at.x, at.y)] = color;
    }
    void DrawText(std::string_view, const Rect&, unsigned, Color) override {}
    Size GetTextExtent(std::string_view) const override { return {}; }
    void CopySurface(const Surface& source, const Rect& from, Point to) override {
        const auto* memory = dynamic_cast<const MemorySurface*>(&source);
        if (!memory) return;
        const std::vector<Color> pixels = memory->m_pixels;  // a copy: source may be this
        for (int y = from.top; y < from.bottom; ++y) {
            for (int x = from.left; x < from.right; ++x) {
                if (!memory->Inside({x, y})) continue;
                SetPixel({to.x + x - from.left, to.y + y - from.top}, pixels[memory->Index(x, y)]);
            }
        }
    }

    static constexpr Color kOutside = 0xFFFFFFFF;

private:
    bool Inside(Point p) const {
        return p.x >= 0 && p.y >= 0 && p.x < m_size.width && p.y < m_size.height;
    }
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * m_size.width + x); }
    Rect Clip(const Rect& r) const {
        return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, m_size.width),
                std::min(r.bottom, m_size.height)};
    }

    Size m_size;
    std::vector<Color> m_pixels;
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
