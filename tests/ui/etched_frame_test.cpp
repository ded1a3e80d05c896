#include <gtest/gtest.h>

#include <string>

#include "tests/support/memory_surface.h"
#include "ui/dialog_painter.h"

namespace {

constexpr Color kGround = Rgb(1, 2, 3);

// The surface as rows of letters: 'E' the etch, 'H' its highlight, '.' the ground.
std::string Letters(const MemorySurface& surface, const WindowLook& look) {
    std::string rows;
    for (int y = 0; y < surface.GetSize().height; ++y) {
        for (int x = 0; x < surface.GetSize().width; ++x) {
            const Color c = surface.GetPixel({x, y});
            rows += c == look.etch ? 'E' : c == look.etchHighlight ? 'H' : c == kGround ? '.' : '?';
        }
        rows += '\n';
    }
    return rows;
}

// A frame a pixel in from the surface's corner: grey then white along the top and left, the other
// way round along the bottom and right, the inside left as it was; none in a box under 4 x 4.
TEST(EtchedFrameTest, GreyThenWhiteOnTopAndLeftAndTheOtherWayRoundOnBottomAndRight) {
    const WindowLook look = LightWindowLook();
    struct Case {
        Size frame;
        const char* painted;
    };
    const Case cases[] = {
        {{6, 5},
         "........\n"
         ".EEEEEH.\n"
         ".EHHHEH.\n"
         ".EH..EH.\n"
         ".EEEEEH.\n"
         ".HHHHHH.\n"
         "........\n"},
        {{4, 4},
         "........\n"
         ".EEEH...\n"
         ".EHEH...\n"
         ".EEEH...\n"
         ".HHHH...\n"
         "........\n"
         "........\n"},
        {{3, 5}, nullptr},
        {{6, 3}, nullptr},
    };
    std::string blank;
    for (int y = 0; y < 7; ++y) blank += "........\n";
    for (const Case& test : cases) {
        MemorySurface surface({8, 7}, kGround);
        dialog_painter::PaintEtchedFrame(surface,
                                         {1, 1, 1 + test.frame.width, 1 + test.frame.height}, look);
        EXPECT_EQ(Letters(surface, look), test.painted ? test.painted : blank)
            << test.frame.width << " x " << test.frame.height;
    }
}

// The background's two etched lines: grey on their row, white on the next, up to their end; the
// rows a line covers are those two.
TEST(EtchedFrameTest, TheBackgroundsLinesAreGreyOverWhiteUpToTheirEnd) {
    const WindowLook look = LightWindowLook();
    MemorySurface surface({400, 300}, kGround);
    dialog_painter::PaintBackground(surface, 400, DialogScale(), {}, look);
    for (const dialog_painter::EtchedLine& line : dialog_painter::EtchedLines(DialogScale())) {
        const Rect covered = line.Covered();
        for (const int x : {line.fromX, line.toX - 1}) {
            EXPECT_EQ(surface.GetPixel({x, covered.top}), look.etch) << x << ", " << line.y;
            EXPECT_EQ(surface.GetPixel({x, covered.bottom - 1}), look.etchHighlight) << x;
            EXPECT_NE(surface.GetPixel({x, covered.bottom}), look.etchHighlight) << x;
        }
        EXPECT_EQ(covered.top, line.y);
        EXPECT_NE(surface.GetPixel({line.toX, line.y + 1}), look.etchHighlight) << line.y;
    }
}

}  // namespace
