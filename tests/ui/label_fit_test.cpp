#include "ui/label_fit.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Rectangles in failure messages as "(left, top, right, bottom)".
void PrintTo(const Rect& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

using layout::WidenToText;

// The About box with Wine's dialog font: the maker's name at (195, 27), 69 x 13 in a client area
// 274 wide; the notice line to its left.
constexpr Rect kMaker{195, 27, 264, 40};
constexpr Rect kNotice{99, 27, 190, 40};
constexpr Rect kOk{106, 57, 168, 78};

TEST(LabelFitTest, LabelThatHoldsItsTextKeepsItsRectangle) {
    const std::vector<Rect> others{kNotice, kOk};
    EXPECT_EQ(WidenToText(kMaker, 69, others, 274), kMaker);
    EXPECT_EQ(WidenToText(kMaker, 40, others, 274), kMaker) << "never narrower";
}

TEST(LabelFitTest, WiderTextWidensTheLabelToTheRightOnly) {
    const std::vector<Rect> others{kNotice, kOk};
    EXPECT_EQ(WidenToText(kMaker, 75, others, 274), (Rect{195, 27, 270, 40}));
    EXPECT_EQ(WidenToText(kMaker, 120, others, 274), (Rect{195, 27, 274, 40}))
        << "no further than the client area";
}

TEST(LabelFitTest, StopsAPixelShortOfTheNextControlOnItsRows) {
    const std::vector<Rect> others{kMaker, kOk};
    // The notice line would run into the maker's name.
    EXPECT_EQ(WidenToText(kNotice, 120, others, 274), (Rect{99, 27, 194, 40}));
    // Controls above, below or to the left do not stop it.
    const std::vector<Rect> elsewhere{{99, 12, 270, 26}, {99, 41, 270, 60}, {10, 27, 98, 40}};
    EXPECT_EQ(WidenToText(kNotice, 120, elsewhere, 274), (Rect{99, 27, 219, 40}));
    // A neighbour that already overlaps it leaves it as it is.
    const std::vector<Rect> overlapping{{150, 30, 200, 35}};
    EXPECT_EQ(WidenToText(kNotice, 120, overlapping, 274), kNotice);
}

}  // namespace
