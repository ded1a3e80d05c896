#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

// A colour as Windows stores it: red in the low byte, then green, then blue.
using Color = std::uint32_t;

constexpr Color Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Color>(red) | (static_cast<Color>(green) << 8) |
           (static_cast<Color>(blue) << 16);
}
constexpr std::uint8_t RedOf(Color c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(Color c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(Color c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom edges lie outside the rectangle, as in GDI.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Text-drawing flags, with the values GDI gives them.
namespace TextFlags {
inline constexpr unsigned kCenter = 0x0001;
inline constexpr unsigned kRight = 0x0002;
inline constexpr unsigned kVCenter = 0x0004;
inline constexpr unsigned kWordBreak = 0x0010;
inline constexpr unsigned kSingleLine = 0x0020;
inline constexpr unsigned kNoPrefix = 0x0800;
inline constexpr unsigned kPathEllipsis = 0x4000;
inline constexpr unsigned kEndEllipsis = 0x8000;
inline constexpr unsigned kWordEllipsis = 0x40000;
}  // namespace TextFlags

class Surface;

// GDI-like drawing surface in device pixels. Drawing is never antialiased.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void FillSolidRect(const Rect& rect, Color color) = 0;
    // A solid one-pixel line; the end point is not drawn.
    virtual void DrawLine(Point from, Point to, Color color) = 0;
    virtual Color GetPixel(Point at) const = 0;
    virtual void SetPixel(Point at, Color color) = 0;
    // Text in UTF-8, with the background left as it is.
    virtual void DrawText(std::string_view text, const Rect& rect, unsigned flags, Color color) = 0;
    virtual Size GetTextExtent(std::string_view text) const = 0;
    // Copies the pixels of `from`, a rectangle of `source`, to `to` as they are, like BitBlt with
    // SRCCOPY. `source` is a surface of this canvas's platform; parts outside either are left out.
    virtual void CopySurface(const Surface& source, const Rect& from, Point to) = 0;
};

// An off-screen picture of a fixed size, drawn on through its canvas and copied from by others.
class Surface {
public:
    virtual ~Surface() = default;
    virtual Size GetSize() const = 0;
    virtual Canvas& GetCanvas() = 0;
};

// Makes off-screen surfaces that the platform's canvases can copy. Callable from any thread.
class SurfaceFactory {
public:
    virtual ~SurfaceFactory() = default;
    // A surface of `size`, black at first; null when none of that size can be made.
    virtual std::unique_ptr<Surface> CreateSurface(Size size) = 0;
};
