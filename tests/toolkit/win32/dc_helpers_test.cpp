// The off-screen device context, the scoped selections and the screen copy, on memory bitmaps.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/toolkit/win32/memory_dc.h"
#include "toolkit/win32/buffer_dc.h"
#include "toolkit/win32/dc_selectors.h"
#include "toolkit/win32/screen_bitmap.h"
#include "toolkit/win32/win32_canvas.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

SIZE BitmapSize(HGDIOBJ bitmap) {
    BITMAP b{};
    GetObjectW(bitmap, sizeof b, &b);
    return {b.bmWidth, b.bmHeight};
}

TEST(CBufferDCTest, BuffersTheAreaInTheTargetsCoordinatesAndCopiesBackOnlyIt) {
    MemoryDc target(150, 100);
    target.Fill({0, 0, 150, 100}, kRed);
    HGDIOBJ bitmap = nullptr;
    {
        CBufferDC buffer(target.Get(), {10, 20, 110, 70});
        bitmap = GetCurrentObject(buffer, OBJ_BITMAP);
        const SIZE size = BitmapSize(bitmap);
        EXPECT_EQ(size.cx, 110) << "as wide as the area's right edge";
        EXPECT_EQ(size.cy, 70) << "as high as its bottom edge";
        RECT clip;
        GetClipBox(buffer, &clip);
        EXPECT_EQ(clip.left, 10);
        EXPECT_EQ(clip.top, 20);
        EXPECT_EQ(clip.right, 110);
        EXPECT_EQ(clip.bottom, 70);
        HBRUSH blue = CreateSolidBrush(kBlue);
        const RECT all{0, 0, 150, 100};
        FillRect(buffer, &all, blue);
        DeleteObject(blue);
        EXPECT_EQ(target.At(50, 50), kRed) << "nothing reaches the target before the copy";
    }
    EXPECT_EQ(target.At(10, 20), kBlue);
    EXPECT_EQ(target.At(109, 69), kBlue);
    EXPECT_EQ(target.At(9, 20), kRed);
    EXPECT_EQ(target.At(10, 19), kRed);
    EXPECT_EQ(target.At(110, 50), kRed);
    EXPECT_EQ(target.At(50, 70), kRed);
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the off-screen bitmap is freed";
}

TEST(CBufferDCTest, AnEmptyRectangleBuffersTheTargetsClipBox) {
    MemoryDc target(60, 60);
    target.Fill({0, 0, 60, 60}, kRed);
    IntersectClipRect(target.Get(), 5, 6, 25, 30);
    {
        CBufferDC buffer(target.Get(), {0, 0, 0, 0});
        EXPECT_EQ(buffer.Area().left, 5);
        EXPECT_EQ(buffer.Area().top, 6);
        EXPECT_EQ(buffer.Area().right, 25);
        EXPECT_EQ(buffer.Area().bottom, 30);
        EXPECT_EQ(BitmapSize(GetCurrentObject(buffer, OBJ_BITMAP)).cx, 25);
        HBRUSH blue = CreateSolidBrush(kBlue);
        const RECT all{0, 0, 60, 60};
        FillRect(buffer, &all, blue);
        DeleteObject(blue);
    }
    SelectClipRgn(target.Get(), nullptr);
    EXPECT_EQ(target.At(5, 6), kBlue);
    EXPECT_EQ(target.At(24, 29), kBlue);
    EXPECT_EQ(target.At(25, 29), kRed);
    EXPECT_EQ(target.At(4, 10), kRed);
}

TEST(CBufferDCTest, ACanvasOnItReachesTheTargetOnlyWhenItGoesAndOnlyItsArea) {
    MemoryDc target(50, 50);
    Win32Canvas(target.Get()).FillSolidRect({0, 0, 50, 50}, kRed);
    {
        CBufferDC buffer(target.Get(), RECT{10, 10, 30, 30});
        Win32Canvas canvas(buffer);
        canvas.FillSolidRect({0, 0, 50, 50}, kBlue);  // in the target's coordinates
        EXPECT_EQ(target.At(20, 20), kRed) << "nothing shows while it is composed";
    }
    EXPECT_EQ(target.At(10, 10), kBlue);
    EXPECT_EQ(target.At(29, 29), kBlue);
    EXPECT_EQ(target.At(30, 30), kRed) << "only its area is copied";
    EXPECT_EQ(target.At(9, 20), kRed);
}

TEST(CPenDCTest, ColourChangesKeepTheFirstPenToPutBack) {
    MemoryDc dc(4, 4);
    HPEN original = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
    SelectObject(dc.Get(), original);
    HGDIOBJ made[3] = {};
    {
        CPenDC pen(dc.Get(), kRed);
        made[0] = GetCurrentObject(dc.Get(), OBJ_PEN);
        EXPECT_EQ(pen.Color(), kRed);
        pen.Color(kBlue);
        made[1] = GetCurrentObject(dc.Get(), OBJ_PEN);
        pen.Color(RGB(0, 128, 0));
        made[2] = GetCurrentObject(dc.Get(), OBJ_PEN);
        EXPECT_EQ(pen.Color(), RGB(0, 128, 0));
        EXPECT_EQ(GetObjectType(made[0]), 0u) << "a replaced pen is freed at once";
        LOGPEN style{};
        GetObjectW(made[2], sizeof style, &style);
        EXPECT_EQ(style.lopnStyle, static_cast<UINT>(PS_SOLID));
        EXPECT_EQ(style.lopnWidth.x, 1);
        // A line in the current pen takes its colour.
        MoveToEx(dc.Get(), 0, 1, nullptr);
        LineTo(dc.Get(), 4, 1);
        EXPECT_EQ(dc.At(2, 1), RGB(0, 128, 0));
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), original);
    for (HGDIOBJ pen : made) EXPECT_EQ(GetObjectType(pen), 0u);
    SelectObject(dc.Get(), GetStockObject(BLACK_PEN));
    DeleteObject(original);
}

TEST(CBrushDCTest, SolidBrushesAndTheHollowOneForNoColour) {
    MemoryDc dc(20, 20);
    dc.Fill({0, 0, 20, 20}, kRed);
    const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BRUSH);
    HGDIOBJ solid = nullptr;
    {
        CBrushDC brush(dc.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
        Rectangle(dc.Get(), 2, 2, 18, 18);
        EXPECT_EQ(dc.At(10, 10), kRed) << "hollow: the inside stays";
        brush.Color(kBlue);
        solid = GetCurrentObject(dc.Get(), OBJ_BRUSH);
        Rectangle(dc.Get(), 2, 2, 18, 18);
        EXPECT_EQ(dc.At(10, 10), kBlue);
        brush.Color(CLR_NONE);
        EXPECT_EQ(GetObjectType(solid), 0u);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
        EXPECT_NE(GetObjectType(GetStockObject(NULL_BRUSH)), 0u) << "the stock brush survives";
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), original);
}

TEST(CFontDCTest, SelectsAStockFontAndATextColourAndPutsBothBack) {
    MemoryDc dc(4, 4);
    SetTextColor(dc.Get(), RGB(1, 2, 3));
    const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_FONT);
    {
        CFontDC font(dc.Get(), DEFAULT_GUI_FONT);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), GetStockObject(DEFAULT_GUI_FONT));
        EXPECT_EQ(GetTextColor(dc.Get()), RGB(1, 2, 3)) << "CLR_DEFAULT leaves the colour alone";
        font.Color(kRed);
        font.Color(kBlue);
        EXPECT_EQ(GetTextColor(dc.Get()), kBlue);
        font.Font(ANSI_VAR_FONT);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), GetStockObject(ANSI_VAR_FONT));
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), original);
    EXPECT_EQ(GetTextColor(dc.Get()), RGB(1, 2, 3));
    {
        CFontDC font(dc.Get(), DEFAULT_GUI_FONT, kRed);
        EXPECT_EQ(GetTextColor(dc.Get()), kRed);
    }
    EXPECT_EQ(GetTextColor(dc.Get()), RGB(1, 2, 3));
}

// A font like the menus' at a given weight, selected into `dc` while it lives.
class WeightedFont {
public:
    WeightedFont(HDC dc, LONG weight) : m_dc(dc) {
        LOGFONTW font{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        font.lfWeight = weight;
        m_font = CreateFontIndirectW(&font);
        m_previous = SelectObject(dc, m_font);
    }
    ~WeightedFont() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_font);
    }
    HFONT Get() const { return m_font; }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_previous;
};

LONG CurrentWeight(HDC dc) {
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    return font.lfWeight;
}

TEST(CBoldDCTest, ChangesTheFontOnlyWhenTheWishAndTheWeightDisagree) {
    MemoryDc dc(4, 4);
    struct Case {
        LONG weight;
        bool bold;
        LONG expected;
    };
    for (const Case c : {Case{400, true, 700}, Case{600, true, 700}, Case{700, false, 400},
                         Case{600, false, 600}, Case{700, true, 700}, Case{400, false, 400},
                         Case{800, true, 700}, Case{900, false, 900}}) {
        SCOPED_TRACE(testing::Message() << c.weight << (c.bold ? " asked bold" : " asked normal"));
        WeightedFont font(dc.Get(), c.weight);
        HGDIOBJ during = nullptr;
        {
            CBoldDC bold(dc.Get(), c.bold);
            during = GetCurrentObject(dc.Get(), OBJ_FONT);
            EXPECT_EQ(CurrentWeight(dc.Get()), c.expected);
            EXPECT_EQ(during == font.Get(), c.expected == c.weight)
                << "a font is made exactly when the weight changes";
        }
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font.Get());
        if (during != font.Get()) {
            EXPECT_EQ(GetObjectType(during), 0u) << "and freed";
        }
    }
}

TEST(GetScreenBitmapTest, ABitmapOfTheAreasSizeCompatibleWithTheScreen) {
    HBITMAP bitmap = GetScreenBitmap({30, 40, 130, 100});
    ASSERT_NE(bitmap, nullptr);
    BITMAP b{};
    GetObjectW(bitmap, sizeof b, &b);
    EXPECT_EQ(b.bmWidth, 100);
    EXPECT_EQ(b.bmHeight, 60);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(b.bmBitsPixel, GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
}

}  // namespace
