// The painters' pixels on the portable in-memory canvas.
#include "tests/toolkit/painter_pixels.h"

#include <cstdlib>
#include <string>

#include "tests/support/memory_surface.h"
#include "toolkit/owner_draw.h"
#include "toolkit/xp_button.h"

namespace {

struct MemoryMaker {
    static std::unique_ptr<Surface> Make(Size size, Color fill) {
        return std::make_unique<MemorySurface>(size, fill);
    }
};

}  // namespace

namespace painter_pixels {
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, PainterPixels, MemoryMaker);
}  // namespace painter_pixels

namespace {

// The captions of the main window's buttons, at their sizes on the Linux desktop, in every state
// that draws them: the ink (the grey of an embossed one) sits in the middle of the face, a pixel
// either way, by its extent in the font it is drawn in; pressed, a pixel right and down.
TEST(ButtonCaptionTest, CentredByTheExtentOfTheFontItIsDrawnIn) {
    const struct {
        const char* caption;
        Size size;
    } buttons[] = {
        {"상세보기>>", {77, 21}},  {"작게보기 <<", {77, 21}}, {"사운드 테스트", {90, 21}},
        {"사운드 멈춤", {79, 21}}, {"Start", {70, 23}},
    };
    const struct {
        unsigned state;
        int shift;
    } states[] = {
        {0, 0}, {ods::kDefault | ods::kFocus, 0}, {ods::kSelected, 1}, {ods::kDisabled, 0}};
    for (const auto& b : buttons) {
        for (const auto& s : states) {
            SCOPED_TRACE(std::string(b.caption) + " in state " + std::to_string(s.state));
            MemorySurface surface(b.size);
            surface.charWidth = 3;  // Hangul takes three bytes
            CXPButton().DrawItem(surface, {0, 0, b.size.width, b.size.height}, s.state, b.caption);
            ASSERT_FALSE(surface.texts.empty());
            const DrawnText& ink = surface.texts.back();
            surface.SetFont(ink.font);
            const Size extent = surface.GetTextExtent(b.caption);
            const Rect face{2, 2, b.size.width - 2, b.size.height - 2};
            const int left = ink.rect.left - s.shift;
            const int top = ink.rect.top - s.shift;
            EXPECT_LE(std::abs(2 * left + extent.width - (face.left + face.right)), 1);
            EXPECT_LE(std::abs(2 * top + extent.height - (face.top + face.bottom)), 1);
        }
    }
}

}  // namespace
