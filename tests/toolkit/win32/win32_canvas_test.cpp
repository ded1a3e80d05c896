// The GDI canvas on a memory bitmap, with the main window's painter drawn through it: the same
// pixels as the Qt canvas gives, and nothing left selected or changed in the device context.
#include "toolkit/win32/win32_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "tests/toolkit/win32/memory_dc.h"
#include "toolkit/win32/win32_surface.h"
#include "ui/dialog_painter.h"

namespace {

constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kBlue = Rgb(0, 0, 255);

TEST(Win32CanvasTest, FillsAndLinesLeaveTheirRightAndBottomEdgesOut) {
    MemoryDc dc(40, 40);
    Win32Canvas canvas(dc.Get());
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
    EXPECT_EQ(canvas.GetPixel({40, 40}), Win32Canvas::kInvalidColor);
}

TEST(Win32CanvasTest, TextDrawsOnlyItsLettersAndRestoresTheContext) {
    MemoryDc dc(120, 30);
    Win32Canvas canvas(dc.Get());
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

// The weight and face of the font selected into a device context.
LOGFONTW SelectedFont(HDC dc) {
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    return font;
}

TEST(Win32CanvasTest, StockFontsAtAWeightAndTheContextsFontPutBack) {
    MemoryDc dc(10, 10);
    const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_FONT);
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    HGDIOBJ made = nullptr;
    {
        Win32Canvas canvas(dc.Get());
        EXPECT_EQ(canvas.GetFont(), (CanvasFont{FontFace::kGui, kWeightNormal}))
            << "the window's font counts as the dialog font";
        canvas.SetFont({FontFace::kGui, kWeightNormal});
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.Get(), &metrics);
        EXPECT_EQ(canvas.GetFontHeight(), metrics.tmHeight);

        canvas.SetFont({FontFace::kGui, kWeightBold});
        EXPECT_EQ(canvas.GetFont(), (CanvasFont{FontFace::kGui, kWeightBold}));
        made = GetCurrentObject(dc.Get(), OBJ_FONT);
        EXPECT_EQ(SelectedFont(dc.Get()).lfWeight, kWeightBold);
        EXPECT_EQ(std::wstring(SelectedFont(dc.Get()).lfFaceName), gui.lfFaceName);
        EXPECT_EQ(SelectedFont(dc.Get()).lfHeight, gui.lfHeight);

        canvas.SetFont({FontFace::kSystem, kWeightBold});
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), GetStockObject(SYSTEM_FONT))
            << "the system font is bold already";
        EXPECT_EQ(GetObjectType(made), 0u) << "the bold font it made is gone once replaced";
        canvas.SetFont({FontFace::kGui, 600});
        made = GetCurrentObject(dc.Get(), OBJ_FONT);
        EXPECT_EQ(SelectedFont(dc.Get()).lfWeight, 600);
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), original);
    EXPECT_EQ(GetObjectType(made), 0u) << "and the last one when the canvas goes";
}

TEST(Win32CanvasTest, MeasuresTextAsShownAndDrawsItFromItsCellsCorner) {
    MemoryDc dc(200, 40);
    Win32Canvas canvas(dc.Get());
    canvas.SetFont({FontFace::kGui, kWeightNormal});
    const int height = canvas.GetFontHeight();
    EXPECT_EQ(canvas.MeasureText("&File", 0), (Size{canvas.GetTextExtent("File").width, height}));
    EXPECT_EQ(canvas.MeasureText("&File", TextFlags::kNoPrefix).width,
              canvas.GetTextExtent("&File").width);
    EXPECT_EQ(canvas.MeasureText("Fish &&Chips", 0).width,
              canvas.GetTextExtent("Fish &Chips").width);
    EXPECT_EQ(canvas.MeasureText("&Open", TextFlags::kHidePrefix).width,
              canvas.GetTextExtent("Open").width);

    canvas.FillSolidRect({0, 0, 200, 40}, kRed);
    SetTextAlign(dc.Get(), TA_BASELINE | TA_UPDATECP);
    canvas.DrawTextAt({20, 10}, "&WWW", kBlue);
    int top = 40, bottom = 0, left = 200, right = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (dc.At(x, y) == kRed) continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    EXPECT_GE(top, 10) << "nothing above the cell";
    EXPECT_LT(bottom, 10 + height) << "nothing below it";
    EXPECT_GE(left, 19);
    EXPECT_LE(right, 20 + canvas.GetTextExtent("&WWW").width);
    EXPECT_GT(right, 20 + canvas.GetTextExtent("WWW").width) << "the '&' is drawn, not a mark";
    EXPECT_EQ(GetTextAlign(dc.Get()), static_cast<UINT>(TA_BASELINE | TA_UPDATECP));
}

TEST(Win32CanvasTest, CopiesLeaveOutWhatLiesOutsideEitherSurface) {
    const std::unique_ptr<Win32Surface> picture = Win32Surface::Create({10, 10});
    Canvas& p = picture->GetCanvas();
    p.FillSolidRect({0, 0, 10, 10}, kRed);
    p.FillSolidRect({0, 0, 5, 10}, Rgb(9, 9, 9));  // the left half is the key colour

    MemoryDc dc(30, 30);
    Win32Canvas canvas(dc.Get());
    const auto reset = [&] { canvas.FillSolidRect({0, 0, 30, 30}, kBlue); };
    reset();
    canvas.CopySurface(*picture, {-5, -5, 10, 10}, {0, 0});
    EXPECT_EQ(dc.At(4, 4), kBlue) << "nothing from left of or above the picture";
    EXPECT_EQ(dc.At(5, 5), Rgb(9, 9, 9));
    EXPECT_EQ(dc.At(14, 14), kRed);
    EXPECT_EQ(dc.At(15, 15), kBlue);
    reset();
    canvas.CopySurface(*picture, {0, 0, 10, 10}, {25, 25});
    EXPECT_EQ(dc.At(29, 29), Rgb(9, 9, 9)) << "nothing past the canvas's edge, and no error";

    reset();
    canvas.DrawTransparent(*picture, {-5, 0, 10, 10}, {0, 0}, Rgb(9, 9, 9));
    EXPECT_EQ(dc.At(7, 3), kBlue) << "the key colour is left out";
    EXPECT_EQ(dc.At(10, 3), kRed);
    EXPECT_EQ(dc.At(14, 9), kRed);
    EXPECT_EQ(dc.At(15, 3), kBlue);
    reset();
    canvas.DrawSilhouette(*picture, {0, 0, 12, 12}, {20, 20}, Rgb(9, 9, 9), Rgb(0, 128, 0));
    EXPECT_EQ(dc.At(24, 24), kBlue);
    EXPECT_EQ(dc.At(25, 20), Rgb(0, 128, 0));
    EXPECT_EQ(dc.At(29, 29), Rgb(0, 128, 0));
    EXPECT_EQ(dc.At(25, 19), kBlue);

    reset();
    canvas.FillSolidRect({20, 20, 10, 10}, kRed);
    canvas.FillSolidRect({5, 5, 5, 25}, kRed);
    EXPECT_EQ(dc.At(15, 15), kBlue) << "a rectangle turned inside out holds no pixel";
    EXPECT_EQ(dc.At(5, 10), kBlue);
    canvas.DrawLine({3, 3}, {3, 3}, kRed);
    EXPECT_EQ(dc.At(3, 3), kBlue) << "a line that ends where it starts draws nothing";
}

TEST(Win32CanvasTest, MainWindowBackgroundThroughGdi) {
    MemoryDc dc(360, 380);
    Win32Canvas canvas(dc.Get());
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

}  // namespace
