// The GDI canvas on a memory bitmap, with the main window's painter drawn through it: the same
// pixels as the Qt canvas gives, and nothing left selected or changed in the device context.
#include "toolkit/win32/gdi_canvas.h"

#include <gtest/gtest.h>

#include "toolkit/win32/offscreen_surface.h"
#include "ui/dialog_painter.h"

namespace {

// A 32-bit top-down bitmap selected into a memory device context.
class MemoryDc {
public:
    MemoryDc(int width, int height) {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~MemoryDc() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC Get() const { return m_dc; }
    Color At(int x, int y) const { return ::GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kBlue = Rgb(0, 0, 255);

TEST(GdiCanvasTest, FillsAndLinesLeaveTheirRightAndBottomEdgesOut) {
    MemoryDc dc(40, 40);
    GdiCanvas canvas(dc.Get());
    canvas.FillSolidRect({0, 0, 40, 40}, kRed);
    canvas.FillSolidRect({5, 6, 15, 16}, kBlue);
    EXPECT_EQ(dc.At(5, 6), kBlue);
    EXPECT_EQ(dc.At(14, 15), kBlue);
    EXPECT_EQ(dc.At(15, 15), kRed);
    EXPECT_EQ(dc.At(14, 16), kRed);
    EXPECT_EQ(dc.At(4, 6), kRed);

    canvas.DrawLine({2, 30}, {12, 30}, Rgb(10, 20, 30));
    EXPECT_EQ(dc.At(2, 30), Rgb(10, 20, 30));
    EXPECT_EQ(dc.At(11, 30), Rgb(10, 20, 30));
    EXPECT_EQ(dc.At(12, 30), kRed) << "the end point is not drawn";
    canvas.SetPixel({39, 39}, kBlue);
    EXPECT_EQ(canvas.GetPixel({39, 39}), kBlue);
    EXPECT_EQ(canvas.GetPixel({40, 40}), GdiCanvas::kInvalidColor);
}

TEST(GdiCanvasTest, TextDrawsOnlyItsLettersAndRestoresTheContext) {
    MemoryDc dc(120, 30);
    GdiCanvas canvas(dc.Get());
    canvas.FillSolidRect({0, 0, 120, 30}, kRed);
    SetTextColor(dc.Get(), Rgb(1, 2, 3));
    SetBkMode(dc.Get(), OPAQUE);
    const HGDIOBJ font = GetCurrentObject(dc.Get(), OBJ_FONT);

    canvas.DrawText("Drovane 사운드", {0, 0, 120, 30}, 0, kBlue);
    int letters = 0, background = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 120; ++x) {
            const Color c = dc.At(x, y);
            letters += c != kRed;
            background += c == kRed;
        }
    }
    EXPECT_GT(letters, 20) << "the letters are drawn";
    EXPECT_GT(background, 120 * 30 / 2) << "around them the background stays";
    EXPECT_EQ(dc.At(119, 29), kRed);
    EXPECT_EQ(GetTextColor(dc.Get()), Rgb(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc.Get()), OPAQUE);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font);

    const Size one = canvas.GetTextExtent("Drovane");
    const Size two = canvas.GetTextExtent("DrovaneDrovane");
    EXPECT_GT(one.width, 0);
    EXPECT_EQ(two.width, 2 * one.width);
    EXPECT_GT(one.height, 0);
}

TEST(GdiCanvasTest, MainWindowBackgroundThroughGdi) {
    MemoryDc dc(360, 380);
    GdiCanvas canvas(dc.Get());
    dialog_painter::PaintBackground(canvas, 360);
    EXPECT_EQ(dc.At(0, 0), Rgb(244, 243, 238));
    EXPECT_EQ(dc.At(359, 185), Rgb(233, 230, 212));
    EXPECT_EQ(dc.At(10, 370), Rgb(221, 216, 185));
    EXPECT_EQ(dc.At(80, 205), dialog_painter::kEtchColor);
    EXPECT_EQ(dc.At(80, 206), dialog_painter::kEtchHighlight);
    EXPECT_EQ(dc.At(349, 205), dialog_painter::kEtchColor);
    EXPECT_EQ(dc.At(350, 205), dialog_painter::GradientRow(205)) << "the line ends before x=350";
    EXPECT_EQ(dc.At(79, 205), dialog_painter::GradientRow(205));
    EXPECT_EQ(dc.At(155, 274), dialog_painter::kEtchColor);
    EXPECT_EQ(dc.At(349, 275), dialog_painter::GradientRow(275));
}

TEST(OffscreenSurfaceTest, ReachesTheTargetOnlyWhenItGoesAndOnlyItsArea) {
    MemoryDc target(50, 50);
    GdiCanvas(target.Get()).FillSolidRect({0, 0, 50, 50}, kRed);
    {
        OffscreenSurface surface(target.Get(), RECT{10, 10, 30, 30});
        GdiCanvas canvas(surface.Dc());
        canvas.FillSolidRect({0, 0, 50, 50}, kBlue);  // in the target's coordinates
        EXPECT_EQ(target.At(20, 20), kRed) << "nothing shows while it is composed";
    }
    EXPECT_EQ(target.At(10, 10), kBlue);
    EXPECT_EQ(target.At(29, 29), kBlue);
    EXPECT_EQ(target.At(30, 30), kRed) << "only its area is copied";
    EXPECT_EQ(target.At(9, 20), kRed);
}

}  // namespace
