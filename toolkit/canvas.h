#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

// A colour as Windows stores it: red in the low byte, then green, then blue.
using Color = std::uint32_t;

// No colour: where a brush is asked for, nothing is filled (a hollow brush).
inline constexpr Color kNoColor = 0xFFFFFFFF;

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
// The mnemonic mark is taken out of the text but its letter is not underlined.
inline constexpr unsigned kHidePrefix = 0x100000;
}  // namespace TextFlags

// The two stock fonts a canvas offers: the font of dialogs and menus (DEFAULT_GUI_FONT on Windows)
// and the larger, bold font a new device context starts with (SYSTEM_FONT).
enum class FontFace { kGui, kSystem };

inline constexpr int kWeightNormal = 400;
inline constexpr int kWeightBold = 700;

// A stock font at a weight (100..900, as GDI and Qt count).
struct CanvasFont {
    FontFace face = FontFace::kGui;
    int weight = kWeightNormal;
    friend bool operator==(const CanvasFont&, const CanvasFont&) = default;
};

class Surface;

// GDI-like drawing surface in logical pixels (device pixels unless Density() is above 1). Drawing
// is never antialiased (text may be).
//
// Every operation that does not draw text sets exactly the pixels its comment names, so that the
// painters of the toolkit give the same pixels on every platform; shapes with curves are built
// from these operations by the toolkit itself (toolkit/shapes.h), in device pixels.
class Canvas {
public:
    virtual ~Canvas() = default;
    // Sets every pixel of `rect` (right and bottom edges outside) to `color`.
    virtual void FillSolidRect(const Rect& rect, Color color) = 0;
    // A solid one-pixel line; the end point is not drawn.
    virtual void DrawLine(Point from, Point to, Color color) = 0;
    virtual Color GetPixel(Point at) const = 0;
    virtual void SetPixel(Point at, Color color) = 0;
    // Text in UTF-8 inside `rect`, clipped to it, with the background left as it is, as DrawText
    // does with `flags` (TextFlags). Unless kNoPrefix is given, '&' marks the next letter as the
    // mnemonic (underlined, or not with kHidePrefix) and "&&" stands for one '&'.
    virtual void DrawText(std::string_view text, const Rect& rect, unsigned flags, Color color) = 0;
    // The width of `text` in the current font, every character counted ('&' too), and the font's
    // height (GetTextExtentPoint32).
    virtual Size GetTextExtent(std::string_view text) const = 0;
    // Copies the pixels of `from`, a rectangle of `source`, to `to` as they are, like BitBlt with
    // SRCCOPY. `source` is a surface of this canvas's platform; parts outside either are left out.
    virtual void CopySurface(const Surface& source, const Rect& from, Point to) = 0;

    // Selects a stock font at a weight for the text operations. A canvas starts with the font its
    // window gave it, which counts as the dialog font. Windows: the stock object, or a font made
    // from its LOGFONT with the weight changed.
    virtual void SetFont(CanvasFont font) = 0;
    virtual CanvasFont GetFont() const = 0;
    // The current font's height in pixels, ascent and descent together (TEXTMETRIC's tmHeight).
    virtual int GetFontHeight() const = 0;
    // The size DrawText with DT_CALCRECT and `flags` gives a single line: its width as drawn (the
    // mnemonic marks taken out unless kNoPrefix), and the font's height.
    virtual Size MeasureText(std::string_view text, unsigned flags) const = 0;
    // Text whose cell's top-left corner is `at`, with no mnemonic marks and the background left as
    // it is (TextOut with TA_TOP | TA_LEFT, transparent background).
    virtual void DrawTextAt(Point at, std::string_view text, Color color) = 0;
    // Copies the pixels of `from` in `source` to `to`, leaving out those whose colour is
    // `transparent`: an image with a colour key, drawn as ImageList_Draw draws with
    // ILD_TRANSPARENT. Parts outside either are left out.
    virtual void DrawTransparent(const Surface& source, const Rect& from, Point to,
                                 Color transparent) = 0;
    // Sets each pixel of the area `from` of `source` moved to `to` to `color` where the source
    // pixel is not `transparent`, and leaves the others: the one-colour silhouette DrawState draws
    // with DSS_MONO. Parts outside either are left out.
    virtual void DrawSilhouette(const Surface& source, const Rect& from, Point to,
                                Color transparent, Color color) = 0;

    // How many device pixels a logical pixel is wide and high: 2 on a screen of twice the density.
    // Shapes with curves are drawn at that resolution, through FillDeviceRect.
    virtual int Density() const { return 1; }
    // Sets every device pixel of `rect`, given in device pixels (Density() of them to a logical
    // pixel, counted from the logical origin). A canvas of a density above 1 overrides both.
    virtual void FillDeviceRect(const Rect& rect, Color color) { FillSolidRect(rect, color); }
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
    [[nodiscard]] virtual std::unique_ptr<Surface> CreateSurface(Size size) = 0;
};
