// The window's pixel measures against the dialog font: exact in the 9-point layout, and in other
// fonts and densities still between the same controls.
#include "ui/dialog_scale.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/banner_placement.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/dialog_painter.h"
#include "ui/picture_density.h"
#include "ui/repeller_dialog.h"

namespace {

constexpr Size kBannerPicture{300, 100};

// A control as the window system makes it from the template: its left edge and its width
// converted each on its own.
Rect AsCreated(const layout::Control& c, Size reference) {
    const int left = layout::HorizontalPixels(c.x, reference.width);
    const int top = layout::VerticalPixels(c.y, reference.height);
    return {left, top, left + layout::HorizontalPixels(c.width, reference.width),
            top + layout::VerticalPixels(c.height, reference.height)};
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(DialogScaleTest, MeasuresKeepTheirPlaceAgainstTheControlsInEveryFont) {
    const DialogScale ninePoint(layout::kNinePointReference);
    EXPECT_EQ(ninePoint.Y(CRepellerDialog::kInitialDetailsHeight), 122);
    EXPECT_EQ(ninePoint.Y(dialog_painter::kGradientRows), 371);
    const auto ninePointLines = dialog_painter::EtchedLines(ninePoint);
    EXPECT_EQ(
        (std::vector<int>{ninePointLines[0].fromX, ninePointLines[0].toX, ninePointLines[0].y,
                          ninePointLines[1].fromX, ninePointLines[1].toX, ninePointLines[1].y}),
        (std::vector<int>{80, 350, 205, 155, 349, 274}));
    const BannerPlacement banner = PlaceBanner(layout::kNinePointReference, kBannerPicture);
    EXPECT_EQ(banner.shown, (Rect{29, 3, 329, 103}));
    EXPECT_EQ(banner.picture, (Point{0, 0}));

    // What 400 x 800 dialog units take: 100 times the base units.
    const struct {
        const char* font;
        Size reference;
    } fonts[] = {{"9-point, base units 6.4 x 12", {640, 1200}},
                 {"Tahoma 8 at 96 dpi, 6 x 13", {600, 1300}},
                 {"Segoe UI 9 at 96 dpi, 7 x 15", {700, 1500}},
                 {"Tahoma 8 at 144 dpi under Wine, 9 x 19", {900, 1900}},
                 {"Tahoma 8 at 192 dpi, 12 x 26", {1200, 2600}}};
    for (const auto& [font, reference] : fonts) {
        SCOPED_TRACE(font);
        const DialogScale scale(reference);
        const auto at = [&](int id) { return AsCreated(*layout::FindControl(id), reference); };
        const Size client = layout::ClientPixels(reference);
        const BannerPlacement placed = PlaceBanner(reference, kBannerPicture);
        std::vector<Rect> controls{placed.shown};
        for (const layout::Control& c : layout::Controls()) {
            if (c.kind != layout::Kind::Banner) controls.push_back(AsCreated(c, reference));
        }

        // Each line runs from just right of its section label, inside the label's rows, and
        // through no control.
        const int labels[] = {ids::kSoundSettingsLabel, ids::kSoundTestLabel};
        const auto lines =
            dialog_painter::EtchedLines(scale, {at(labels[0]).right, at(labels[1]).right});
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Rect label = at(labels[i]);
            const dialog_painter::EtchedLine& line = lines[i];
            EXPECT_GE(line.fromX, label.right) << "line " << i;
            EXPECT_LE(line.fromX, label.right + 1) << "line " << i;
            EXPECT_TRUE(label.top <= line.y && line.y + 2 <= label.bottom) << "line " << i;
            for (const Rect& c : controls) EXPECT_FALSE(Overlap(line.Covered(), c)) << "line " << i;
        }

        // Folded, the window ends at the settings' upper edge: everything above it shows whole,
        // nothing below it shows.
        const int compact = client.height - scale.Y(CRepellerDialog::kInitialDetailsHeight);
        const int settingsTop = at(ids::kSoundSettingsLabel).top;
        EXPECT_LE(compact, settingsTop);
        EXPECT_GE(compact, settingsTop - 2);
        for (const Rect& c : controls) {
            if (c.top < settingsTop) {
                EXPECT_LE(c.bottom, compact);
            }
        }

        // The banner lies inside the client area, above the fold, and its picture covers all of
        // the control that takes its clicks.
        const Rect& shown = placed.shown;
        EXPECT_TRUE(shown.left >= 0 && shown.top >= 0 && shown.right <= client.width);
        EXPECT_GT(shown.Width(), 0);
        EXPECT_TRUE(placed.picture.x <= 0 && placed.picture.y <= 0);
        EXPECT_GE(placed.picture.x + kBannerPicture.width, shown.Width());
        EXPECT_GE(placed.picture.y + kBannerPicture.height, shown.Height());
    }
}

// Pixels at nine points scale to the font's, rounded away from zero; a reference without a width
// or a height stays at nine points.
TEST(DialogScaleTest, ScalesRoundingAwayFromZeroAndFallsBackToNinePoints) {
    const struct {
        Size reference;
        int pixels, x, y;
    } cases[] = {
        {{700, 1500}, 64, 70, 80}, {{641, 1201}, 1, 2, 2},     {{641, 1201}, -1, -2, -2},
        {{641, 1201}, 0, 0, 0},    {{0, 1300}, 640, 640, 640}, {{600, 0}, 640, 640, 640},
    };
    for (const auto& c : cases) {
        const DialogScale scale(c.reference);
        EXPECT_EQ(scale.X(c.pixels), c.x) << c.reference.width << " " << c.pixels;
        EXPECT_EQ(scale.Y(c.pixels), c.y) << c.reference.height << " " << c.pixels;
    }
}

// The picture is centred on its place scaled to the font, the plain one or a denser window's
// large version alike, and cut to that place and to the client area.
TEST(DialogScaleTest, TheBannerPictureIsCentredOnItsPlaceAndCutToIt) {
    const struct {
        const char* what;
        Size reference, picture, drawn;
        Rect shown;
        Point at;
    } cases[] = {
        {"Tahoma 8 at 96 dpi", {600, 1300}, kBannerPicture, {}, {27, 7, 309, 107}, {-9, 0}},
        {"its large version at 144 dpi",
         {900, 1900},
         kBannerPicture,
         {450, 150},
         {41, 9, 463, 159},
         {-14, 0}},
        {"a picture wider than the window",
         {640, 1200},
         {400, 100},
         {},
         {29, 3, 331, 103},
         {-49, 0}},
        {"no width drawn: the picture's own",
         {600, 1300},
         kBannerPicture,
         {0, 100},
         {27, 7, 309, 107},
         {-9, 0}},
        {"no height drawn: the picture's own",
         {600, 1300},
         kBannerPicture,
         {300, 0},
         {27, 7, 309, 107},
         {-9, 0}},
        {"a picture smaller than its place",
         {600, 1300},
         kBannerPicture,
         {280, 97},
         {28, 9, 308, 106},
         {0, 0}},
    };
    for (const auto& c : cases) {
        const BannerPlacement placed = PlaceBanner(c.reference, c.picture, c.drawn);
        EXPECT_EQ(placed.shown, c.shown) << c.what;
        EXPECT_EQ(placed.picture, c.at) << c.what;
    }
}

}  // namespace

// The large version above 96 dpi, at the window's scale rounded to the nearest pixel; the plain one
// as it is at 96 dpi and below.
TEST(PictureDensityTest, LargeVersionAboveTheBaseDensityAtTheWindowsScale) {
    const struct {
        int dpi;
        Size plain;
        bool large;
        Size drawn;
    } cases[] = {
        {72, {16, 15}, false, {16, 15}},   {96, {16, 15}, false, {16, 15}},
        {97, {16, 15}, true, {16, 15}},    {120, {16, 15}, true, {20, 19}},
        {144, {16, 15}, true, {24, 23}},   {144, {300, 100}, true, {450, 150}},
        {192, {88, 76}, true, {176, 152}}, {288, {16, 15}, true, {48, 45}},
    };
    for (const auto& c : cases) {
        const PictureChoice choice = ChoosePicture(c.dpi, c.plain);
        EXPECT_EQ(choice.large, c.large) << c.dpi;
        EXPECT_EQ(choice.drawn.width, c.drawn.width) << c.dpi;
        EXPECT_EQ(choice.drawn.height, c.drawn.height) << c.dpi;
    }
}
