#include "ui/label_fit.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Rectangles in failure messages as "(left, top, right, bottom)".
void PrintTo(const Rect& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

using layout::FitToText;
using layout::HeightenToLine;
using layout::TextLine;
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
    // Controls above, below or to the left do not stop it, also where they touch its rows.
    const std::vector<Rect> elsewhere{{99, 12, 270, 26},
                                      {99, 41, 270, 60},
                                      {10, 27, 98, 40},
                                      {150, 10, 270, 27},
                                      {150, 40, 270, 50}};
    EXPECT_EQ(WidenToText(kNotice, 120, elsewhere, 274), (Rect{99, 27, 219, 40}));
    // A neighbour that already overlaps it leaves it as it is.
    const std::vector<Rect> overlapping{{150, 30, 200, 35}};
    EXPECT_EQ(WidenToText(kNotice, 120, overlapping, 274), kNotice);
    const std::vector<Rect> two{{200, 27, 210, 40}, {215, 27, 260, 40}};
    EXPECT_EQ(WidenToText(kNotice, 120, two, 274), (Rect{99, 27, 199, 40})) << "the nearer one";
}

// The main window with Tahoma 8: "Frequency", 56 px, in a label 51 px wide with its edit 4 px to
// the right.
constexpr Rect kFrequency{20, 236, 71, 249};
constexpr Rect kFrequencyEdit{75, 236, 123, 256};

TEST(LabelFitTest, ALabelHeldOnItsRightGrowsToTheLeft) {
    const struct {
        const char* what;
        int textWidth;
        std::vector<Rect> others;
        Rect fitted;
    } cases[] = {
        {"a pixel short of the edit, the rest to the left",
         56,
         {kFrequencyEdit},
         {18, 236, 74, 249}},
        {"a text that fits on the right grows there", 53, {kFrequencyEdit}, {20, 236, 73, 249}},
        {"a pixel short of a control on its left",
         70,
         {kFrequencyEdit, {0, 240, 12, 250}},
         {13, 236, 74, 249}},
        {"controls above and below do not stop it",
         70,
         {kFrequencyEdit, {0, 220, 30, 236}, {0, 249, 30, 260}},
         {4, 236, 74, 249}},
        {"no further than the client area", 90, {kFrequencyEdit}, {0, 236, 74, 249}},
        {"the nearer of two controls on its left",
         70,
         {kFrequencyEdit, {0, 240, 12, 250}, {0, 240, 6, 250}},
         {13, 236, 74, 249}},
        {"a control over its left part leaves that edge",
         70,
         {kFrequencyEdit, {0, 240, 30, 250}},
         {20, 236, 74, 249}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitToText(kFrequency, c.textWidth, {13, 13}, c.others, {331, 400}), c.fitted)
            << c.what;
    }
}

// The About box on the Linux desktop: the version line 12 pixels tall above the notice line, with
// the OK button further down in a client area 102 high; the maker's name right of the notice.
constexpr Rect kVersion{105, 12, 234, 24};
constexpr Rect kNoticeLine{105, 27, 202, 39};
constexpr Rect kMakerName{208, 27, 281, 39};
constexpr Rect kOkButton{170, 75, 269, 96};

TEST(LabelFitTest, LowLabelsGrowDownToTheirLineAndUnderlineUntilANeighbourBelow) {
    // With two controls apart from the box, one at a label's own top and one inside a label.
    const std::vector<Rect> about{kVersion,  kNoticeLine,          kMakerName,
                                  kOkButton, {400, 200, 420, 230}, {500, 203, 520, 230}};
    const struct {
        const char* what;
        Rect label;
        TextLine line;
        int clientHeight;
        Rect fitted;
    } cases[] = {
        {"a line that fits", kVersion, {12, 12}, 102, kVersion},
        {"a taller line", kVersion, {13, 13}, 102, {105, 12, 234, 25}},
        {"down to the line below", kVersion, {16, 16}, 102, {105, 12, 234, 27}},
        {"the underline below the line", kNoticeLine, {14, 16}, 102, {105, 27, 202, 43}},
        {"a neighbour beside it does not stop it", kMakerName, {14, 14}, 102, {208, 27, 281, 41}},
        {"no further than the client area", kNoticeLine, {14, 14}, 40, {105, 27, 202, 40}},
        {"a taller label keeps its height", {105, 27, 202, 58}, {14, 16}, 102, {105, 27, 202, 58}},
        {"a control below, just past its right edge, does not stop it",
         {100, 60, 170, 70},
         {16, 16},
         102,
         {100, 60, 170, 76}},
        {"nor one below that ends at its left edge",
         {269, 60, 300, 70},
         {16, 16},
         102,
         {269, 60, 300, 76}},
        {"a line taller than its underline", kVersion, {15, 13}, 102, {105, 12, 234, 27}},
        {"a control at its own top does not stop it",
         {405, 200, 415, 205},
         {16, 16},
         300,
         {405, 200, 415, 216}},
        {"one that starts inside it never makes it shorter",
         {505, 200, 515, 205},
         {16, 16},
         300,
         {505, 200, 515, 205}},
    };
    for (const auto& c : cases) {
        std::vector<Rect> others;
        for (const Rect& r : about) {
            if (r != c.label) others.push_back(r);
        }
        EXPECT_EQ(HeightenToLine(c.label, c.line, others, c.clientHeight), c.fitted) << c.what;
    }
}

TEST(LabelFitTest, FitsOneLineLabelsBothWaysAndLeavesWrappingOnesAsTheyAre) {
    const std::vector<Rect> about{kNoticeLine, kOkButton};
    EXPECT_EQ(FitToText(kMakerName, 80, {14, 15}, about, {300, 102}), (Rect{208, 27, 288, 42}));
    const Rect notice{27, 113, 320, 144};  // two lines and a bit
    EXPECT_EQ(FitToText(notice, 600, {14, 15}, {}, {331, 300}), notice);
    const Rect twoLines{27, 113, 320, 141};
    EXPECT_EQ(FitToText(twoLines, 600, {14, 15}, {}, {331, 300}), twoLines);
    EXPECT_EQ(FitToText({27, 113, 320, 140}, 600, {14, 15}, {}, {331, 300}),
              (Rect{0, 113, 331, 140}))
        << "a pixel short of two lines, it is fitted";
}

}  // namespace
