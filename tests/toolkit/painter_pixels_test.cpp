// The painters' pixels on the portable in-memory canvas.
#include "tests/toolkit/painter_pixels.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/memory_surface.h"
#include "tests/toolkit/fake_menus.h"
#include "toolkit/hls_color.h"
#include "toolkit/menu_item_xp.h"
#include "toolkit/menu_xp.h"
#include "toolkit/owner_draw.h"
#include "toolkit/shapes.h"
#include "toolkit/toolbar_xp.h"
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

// The device pixels of `s` in `area` as text, one character per colour of `key` ('.' for any
// other).
std::vector<std::string> Art(const MemorySurface& s, Rect area,
                             std::initializer_list<std::pair<Color, char>> key) {
    std::vector<std::string> rows;
    for (int y = area.top; y < area.bottom; ++y) {
        std::string row;
        for (int x = area.left; x < area.right; ++x) {
            const Color c = s.DevicePixel({x, y});
            const auto* k =
                std::find_if(key.begin(), key.end(), [&](auto p) { return p.first == c; });
            row += k == key.end() ? '.' : k->second;
        }
        rows.push_back(row);
    }
    return rows;
}

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

// On a canvas of density d a curve is that of the shape d times as large, row by row in device
// pixels, not its logical rows made d times as large; the pen is d pixels deep.
TEST(DenseShapesTest, CurvesAreTheRowsOfTheShapeAtTheDeviceSize) {
    constexpr Color kGround = Rgb(9, 9, 9), kPen = Rgb(0, 0, 0), kBrush = Rgb(255, 255, 255);
    const struct {
        const char* name;
        int density;
        bool ellipse;  // else a round rectangle with a 10 x 10 corner
        Size size;
        std::vector<int> insets;  // of the top device rows, down to the widest
    } cases[] = {
        {"round rectangle at 1x", 1, false, {20, 12}, {3, 1, 1, 0, 0}},
        {"round rectangle at 2x", 2, false, {20, 12}, {7, 5, 3, 2, 2, 1, 1, 0, 0, 0}},
        {"round rectangle at 3x",
         3,
         false,
         {20, 12},
         {11, 8, 7, 5, 4, 3, 3, 2, 1, 1, 1, 0, 0, 0, 0}},
        {"ellipse at 2x", 2, true, {7, 7}, {4, 3, 2, 1, 0, 0, 0}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const int d = k.density;
        MemorySurface s(k.size, kGround, d);
        const Rect r{0, 0, k.size.width, k.size.height};
        if (k.ellipse) {
            shapes::Ellipse(s, r, kPen, kBrush);
        } else {
            shapes::RoundRect(s, r, {10, 10}, kPen, kBrush);
        }
        const int W = k.size.width * d, H = k.size.height * d;
        for (int y = 0; y < static_cast<int>(k.insets.size()); ++y) {
            const int in = k.insets[static_cast<std::size_t>(y)];
            // The row and its mirror images at the bottom and on the right.
            for (const int row : {y, H - 1 - y}) {
                for (const auto& [x, outside] : {std::pair{in, in - 1}, {W - 1 - in, W - in}}) {
                    EXPECT_EQ(s.DevicePixel({x, row}), kPen) << x << ", " << row;
                    if (in > 0) {
                        EXPECT_EQ(s.DevicePixel({outside, row}), kGround) << row;
                    }
                }
            }
        }
        for (int i = 0; i < d; ++i) {
            EXPECT_EQ(s.DevicePixel({i, H / 2}), kPen);
            EXPECT_EQ(s.DevicePixel({W - 1 - i, H / 2}), kPen);
            EXPECT_EQ(s.DevicePixel({W / 2, i}), kPen);
            EXPECT_EQ(s.DevicePixel({W / 2, H - 1 - i}), kPen);
        }
        EXPECT_EQ(s.DevicePixel({d, H / 2}), kBrush);
        EXPECT_EQ(s.DevicePixel({W - 1 - d, H / 2}), kBrush);
        EXPECT_EQ(s.DevicePixel({W / 2, d}), kBrush);
        EXPECT_EQ(s.DevicePixel({W / 2, H - 1 - d}), kBrush);
    }
}

// The check mark of a checked item, its top-left at (7, 6): at density 2 the top of each device
// column's run steps by one device row, where the logical mark steps by a whole logical row.
TEST(DenseShapesTest, TheCheckMarkFollowsItsLineInDevicePixels) {
    const struct {
        int density;
        std::vector<int> tops;
    } cases[] = {
        {1, {2, 3, 4, 3, 2, 1, 0}},
        {2, {3, 4, 5, 6, 7, 7, 6, 5, 4, 3, 2, 1, 0, 0}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.density);
        FakeMenus menus;
        const MenuHandle m = menus.Create();
        menus.Add(m, "&Start", 7, 0, menu_bits::kChecked);
        MemorySurface s({120, 20}, Rgb(1, 2, 3), k.density);
        const SystemColors colors;
        CMenuXP::ConvertMenu(menus, m, true, false, s, nullptr);
        CMenuItemXP(menus, m, 0, true).Draw(s, {0, 0, 120, 20}, {}, colors);
        CMenuXP::ClearTables();
        const Color ink = MenuPalette::From(colors).text;
        for (int x = 0; x < static_cast<int>(k.tops.size()); ++x) {
            const Point top{7 * k.density + x, 6 * k.density + k.tops[static_cast<std::size_t>(x)]};
            EXPECT_EQ(s.DevicePixel(top), ink) << "column " << x;
            EXPECT_NE(s.DevicePixel({top.x, top.y - 1}), ink) << "column " << x;
            EXPECT_EQ(s.DevicePixel({top.x, top.y + 3 * k.density - 1}), ink) << "column " << x;
            EXPECT_NE(s.DevicePixel({top.x, top.y + 3 * k.density}), ink) << "column " << x;
        }
        for (int y = 0; y < 7 * k.density; ++y) {
            EXPECT_NE(s.DevicePixel({14 * k.density, 6 * k.density + y}), ink)
                << "after, row " << y;
        }
    }
}

// Whole shapes, pixel by pixel (.: the ground, #: the pen, o: the brush): the pen follows the
// curve `density` device pixels deep, the brush fills what is left.
TEST(DenseShapesTest, ShapesPaintedWhole) {
    const auto art = [](int density, bool ellipse, Size size, Size corner = {}) {
        MemorySurface s(size, Rgb(9, 9, 9), density);
        const Rect r{0, 0, size.width, size.height};
        if (ellipse) {
            shapes::Ellipse(s, r, Rgb(0, 0, 0), Rgb(255, 255, 255));
        } else {
            shapes::RoundRect(s, r, corner, Rgb(0, 0, 0), Rgb(255, 255, 255));
        }
        return Art(s, {0, 0, size.width * density, size.height * density},
                   {{Rgb(0, 0, 0), '#'}, {Rgb(255, 255, 255), 'o'}});
    };
    EXPECT_EQ(art(2, true, {7, 5}), (std::vector<std::string>{
                                        "....######....",
                                        "..##########..",
                                        ".###oooooo###.",
                                        "##oooooooooo##",
                                        "##oooooooooo##",
                                        "##oooooooooo##",
                                        "##oooooooooo##",
                                        ".###oooooo###.",
                                        "..##########..",
                                        "....######....",
                                    }));
    // A corner too narrow for its first row keeps half its width there; one larger than the
    // shape is cut to it.
    EXPECT_EQ(
        art(1, false, {6, 12}, {2, 10}),
        (std::vector<std::string>{".####.", "#oooo#", "#oooo#", "#oooo#", "#oooo#", "#oooo#",
                                  "#oooo#", "#oooo#", "#oooo#", "#oooo#", "#oooo#", ".####."}));
    EXPECT_EQ(art(1, false, {6, 4}, {20, 4}), art(1, false, {6, 4}, {6, 4}));
    EXPECT_EQ(art(1, false, {6, 4}, {8, 8}),
              (std::vector<std::string>{".####.", "#oooo#", "#oooo#", ".####."}));
    // An odd width's top row may hold the middle pixel alone.
    const shapes::Span top = shapes::EllipseRow(3, 7, 0);
    EXPECT_EQ(std::pair(top.first, top.last), std::pair(1, 2));
}

// A rectangle's one-pixel outline on every side, its brush inside (or nothing), and nothing at all
// for one without a width or a height.
TEST(DenseShapesTest, RectanglesPaintedWhole) {
    const struct {
        Rect rect;
        bool brush;
        std::vector<std::string> art;
    } cases[] = {
        {{1, 1, 6, 5}, true, {".......", ".#####.", ".#ooo#.", ".#ooo#.", ".#####.", "......."}},
        {{1, 1, 6, 5}, false, {".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}},
        {{1, 1, 2, 4}, true, {".......", ".#.....", ".#.....", ".#.....", ".......", "......."}},
        {{1, 1, 4, 2}, true, {".......", ".###...", ".......", ".......", ".......", "......."}},
        {{1, 1, 1, 4}, true, {".......", ".......", ".......", ".......", ".......", "......."}},
        {{1, 1, 4, 1}, true, {".......", ".......", ".......", ".......", ".......", "......."}},
    };
    for (const auto& k : cases) {
        MemorySurface s({7, 6}, Rgb(9, 9, 9));
        shapes::Rectangle(s, k.rect, Rgb(0, 0, 0), k.brush ? Rgb(255, 255, 255) : kNoColor);
        EXPECT_EQ(Art(s, {0, 0, 7, 6}, {{Rgb(0, 0, 0), '#'}, {Rgb(255, 255, 255), 'o'}}), k.art)
            << k.rect.Width() << " x " << k.rect.Height();
    }
}

// The check box of a checked item and the bullet of a radio item, pixel by pixel (b: the band,
// f: the box's frame, x: its fill, #: the text colour), in an item 18 pixels high.
TEST(MenuItemPictureTest, TheCheckBoxHoldsATickOrABulletInItsMiddle) {
    const SystemColors colors;
    const MenuPalette p = MenuPalette::From(colors);
    const auto art = [&](unsigned type, int height = 18) {
        FakeMenus menus;
        const MenuHandle m = menus.Create();
        menus.Add(m, "&Start", 7, type, menu_bits::kChecked);
        MemorySurface s({120, height}, Rgb(1, 2, 3));
        CMenuXP::ConvertMenu(menus, m, true, false, s, nullptr);
        CMenuItemXP(menus, m, 0, true).Draw(s, {0, 0, 120, height}, {}, colors);
        CMenuXP::ClearTables();
        return Art(s, {0, 0, 22, height},
                   {{p.band, 'b'}, {p.frame, 'f'}, {p.boxFill, 'x'}, {p.text, '#'}});
    };
    EXPECT_EQ(art(0), (std::vector<std::string>{
                          "bbbbbbbbbbbbbbbbbbbbbb",
                          "bfffffffffffffffffffbb",
                          "bfxxxxxxxxxxxxxxxxxfbb",
                          "bfxxxxxxxxxxxxxxxxxfbb",
                          "bfxxxxxxxxxxxxxxxxxfbb",
                          "bfxxxxxxxxxxx#xxxxxfbb",
                          "bfxxxxxxxxxx##xxxxxfbb",
                          "bfxxxxx#xxx###xxxxxfbb",
                          "bfxxxxx##x###xxxxxxfbb",
                          "bfxxxxx#####xxxxxxxfbb",
                          "bfxxxxxx###xxxxxxxxfbb",
                          "bfxxxxxxx#xxxxxxxxxfbb",
                          "bfxxxxxxxxxxxxxxxxxfbb",
                          "bfxxxxxxxxxxxxxxxxxfbb",
                          "bfxxxxxxxxxxxxxxxxxfbb",
                          "bfxxxxxxxxxxxxxxxxxfbb",
                          "bfffffffffffffffffffbb",
                          "bbbbbbbbbbbbbbbbbbbbbb",
                      }));
    EXPECT_EQ(art(menu_bits::kRadioCheck), (std::vector<std::string>{
                                               "bbbbbbbbbbbbbbbbbbbbbb",
                                               "bfffffffffffffffffffbb",
                                               "bfxxxxxxxxxxxxxxxxxfbb",
                                               "bfxxxxxxxxxxxxxxxxxfbb",
                                               "bfxxxxxxxxxxxxxxxxxfbb",
                                               "bfxxxxxxxxxxxxxxxxxfbb",
                                               "bfxxxxxxxx###xxxxxxfbb",
                                               "bfxxxxxxx#####xxxxxfbb",
                                               "bfxxxxxx#######xxxxfbb",
                                               "bfxxxxxx#######xxxxfbb",
                                               "bfxxxxxx#######xxxxfbb",
                                               "bfxxxxxxx####xxxxxxfbb",
                                               "bfxxxxxxxx###xxxxxxfbb",
                                               "bfxxxxxxxxxxxxxxxxxfbb",
                                               "bfxxxxxxxxxxxxxxxxxfbb",
                                               "bfxxxxxxxxxxxxxxxxxfbb",
                                               "bfffffffffffffffffffbb",
                                               "bbbbbbbbbbbbbbbbbbbbbb",
                                           }));
    // One row higher: the tick sits a row lower, the bullet stays (its middle rounds down).
    const auto tick = art(0), tick19 = art(0, 19);
    const auto bullet = art(menu_bits::kRadioCheck), bullet19 = art(menu_bits::kRadioCheck, 19);
    for (int row = 2; row < 15; ++row) {
        const auto r = static_cast<std::size_t>(row);
        EXPECT_EQ(tick19[r + 1], tick[r]) << row;
        EXPECT_EQ(bullet19[r], bullet[r]) << row;
    }
}

// A button asks for mouse notices once until the mouse leaves; hovering repaints it with its
// background, leaving without.
TEST(XPButtonTest, TracksTheMouseOnceAndRepaintsOnHoverAndLeave) {
    CXPButton button;
    int asked = 0;
    const auto track = [&](bool granted) {
        return [&, granted] {
            ++asked;
            return granted;
        };
    };
    button.OnMouseMove(track(true));
    button.OnMouseMove(track(true));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(button.OnMouseHover(), CXPButton::Repaint::kErasing);
    EXPECT_EQ(button.OnMouseLeave(), CXPButton::Repaint::kWithoutErasing);
    button.OnMouseMove(track(false));
    button.OnMouseMove(track(true));
    EXPECT_EQ(asked, 3) << "a refused request is asked again";

    // The label is drawn in the dialog font whatever the canvas held, which is put back.
    MemorySurface s({70, 21}, Rgb(9, 9, 9));
    const CanvasFont system{FontFace::kSystem, kWeightBold};
    s.SetFont(system);
    button.DrawItem(s, {0, 0, 70, 21}, 0, "Start");
    ASSERT_EQ(s.texts.size(), 1u);
    EXPECT_EQ(s.texts[0].font, (CanvasFont{}));
    EXPECT_EQ(s.GetFont(), system);
}

// The hover frame's four lines, each in its own colour (l, t, r, b), stop short of the corners,
// where the outline (o) rounds off; seen at the button's four corners.
TEST(XPButtonTest, TheHoverFramesLinesStopShortOfTheCorners) {
    CXPButton button;
    button.OnMouseMove([] { return true; });
    button.OnMouseHover();
    MemorySurface s({70, 21}, Rgb(9, 9, 9));
    button.DrawItem(s, {0, 0, 70, 21}, 0, "");
    const CXPButton::Frame& f = CXPButton::kHoverFrame;
    const auto corner = [&](int x, int y) {
        return Art(s, {x, y, x + 6, y + 6},
                   {{f.left.color, 'l'},
                    {f.top.color, 't'},
                    {f.right.color, 'r'},
                    {f.bottom.color, 'b'},
                    {CXPButton::kOutline, 'o'}});
    };
    EXPECT_EQ(corner(0, 0), (std::vector<std::string>{"...ooo", ".oo.tt", ".o..tt", "o.....",
                                                      "o.....", "olll.."}));
    EXPECT_EQ(corner(64, 0), (std::vector<std::string>{"ooo...", "tt.oo.", "tt..o.", ".....o",
                                                       ".....o", "..rrro"}));
    EXPECT_EQ(corner(0, 15), (std::vector<std::string>{"olll..", "olll..", "o.....", ".o..bb",
                                                       ".o..bb", "...ooo"}));
    EXPECT_EQ(corner(64, 15), (std::vector<std::string>{"..rrro", "..rrro", ".....o", "bb..o.",
                                                        "bb..o.", "ooo..."}));
}

// A drop-down button 21 pixels high, hot, pressed on its main part or on its arrow, beside a plain
// button that is not hot; the arrow is black when hot, else the button text's colour.
TEST(ToolbarPictureTest, DropDownPartsArrowsAndImagesSitWhereTheyBelong) {
    using namespace toolbar_bits;
    SystemColors colors;
    colors.buttonText = Rgb(0, 0, 128);
    const auto face = [&](int l) { return HLSTransform(colors.buttonFace, l, 0); };
    const auto light = [&](int l, int s) { return HLSTransform(colors.highlight, l, s); };
    const Color red = Rgb(255, 0, 0);
    MemorySurface picture({16, 16}, Rgb(192, 192, 192));
    picture.FillSolidRect({2, 2, 6, 6}, red);
    ImageStrip strip;
    strip.pictures = &picture;
    const ToolbarButton buttons[] = {
        {0, 1, kEnabled, kDropDownStyle, {0, 0, 36, 21}},
        {0, 2, kEnabled, kDropDownStyle, {36, 0, 72, 21}},
    };
    MemorySurface s({80, 21}, Rgb(9, 9, 9));
    const auto paint = [&](Point cursor, bool down) {
        toolbar_xp::PaintToolbar(s, {{0, 0, 80, 21}, {0, 0, 80, 21}, cursor, down, 0, &strip},
                                 buttons, colors);
    };
    // Hot, the cursor elsewhere: one hot fill with a line before the arrow part; the image
    // lifted over its shadow; a black arrow at rows 9 to 11.
    paint({50, 5}, false);
    EXPECT_EQ(s.GetPixel({31, 2}), light(70, -57));
    for (int y : {2, 10, 19}) EXPECT_EQ(s.GetPixel({22, y}), colors.highlight) << y;
    EXPECT_EQ(s.GetPixel({23, 10}), light(70, -57));
    EXPECT_EQ(s.GetPixel({9, 9}), light(50, -66));
    EXPECT_EQ(
        Art(s, {26, 8, 34, 13}, {{Rgb(0, 0, 0), '#'}}),
        (std::vector<std::string>{"........", ".#####..", "..###...", "...#....", "........"}));
    // Not hot: the image in place at 3, the arrow in the button text's colour.
    EXPECT_EQ(s.GetPixel({36 + 4, 4}), face(20));
    EXPECT_EQ(s.GetPixel({36 + 5, 5}), red);
    EXPECT_EQ(s.GetPixel({36 + 28, 9}), colors.buttonText);
    // Pressed on the main part (its last column): the main part pressed, the arrow part framed
    // apart; the image at 3 without a shadow.
    paint({22, 5}, true);
    EXPECT_EQ(s.GetPixel({21, 10}), light(50, -50));
    EXPECT_EQ(s.GetPixel({22, 10}), colors.highlight);
    EXPECT_EQ(s.GetPixel({23, 10}), light(70, -66));
    EXPECT_EQ(s.GetPixel({5, 5}), red);
    EXPECT_EQ(s.GetPixel({4, 5}), light(50, -50));
    EXPECT_EQ(s.GetPixel({5, 4}), light(50, -50));
    EXPECT_EQ(s.GetPixel({9, 9}), light(50, -50));
    // Pressed on the arrow part (its first column): nothing pressed.
    paint({23, 5}, true);
    EXPECT_EQ(s.GetPixel({23, 10}), light(70, -57));
}

// A combo box's arrow button in each state: its outline, its fill and the arrow's ink; the arrow
// is a triangle of four rows whose tip is two rows below the middle.
TEST(ToolbarPictureTest, TheArrowButtonShowsItsStateInOutlineFillAndInk) {
    SystemColors colors;
    colors.buttonText = Rgb(0, 0, 128);
    const Color hot = HLSTransform(colors.highlight, 70, -57);
    const Color pressed = HLSTransform(colors.highlight, 50, -50);
    const struct {
        toolbar_xp::ArrowButtonState state;
        Color outline, fill, ink;
    } cases[] = {
        {{}, colors.window, colors.buttonFace, colors.buttonText},
        {{.outsideToolbar = true}, colors.buttonShadow, colors.buttonFace, colors.buttonText},
        {{.disabled = true, .highlighted = true},
         colors.window,
         colors.buttonFace,
         colors.grayText},
        {{.highlighted = true}, colors.highlight, hot, Rgb(0, 0, 0)},
        {{.highlighted = true, .pressed = true}, colors.highlight, pressed, Rgb(240, 240, 240)},
    };
    for (const auto& k : cases) {
        MemorySurface s({17, 20}, Rgb(9, 9, 9));
        toolbar_xp::PaintArrowButton(s, {0, 0, 17, 20}, k.state, colors);
        EXPECT_EQ(s.GetPixel({0, 0}), k.outline) << &k - cases;
        EXPECT_EQ(s.GetPixel({1, 1}), k.fill) << &k - cases;
        EXPECT_EQ(Art(s, {4, 8, 13, 14}, {{k.ink, '#'}}),
                  (std::vector<std::string>{".........", ".#######.", "..#####..", "...###...",
                                            "....#....", "........."}))
            << &k - cases;
    }
    // On an even width and an odd height the middle rounds down.
    MemorySurface s({16, 19}, Rgb(9, 9, 9));
    toolbar_xp::PaintArrowButton(s, {0, 0, 16, 19}, {}, colors);
    EXPECT_EQ(Art(s, {6, 10, 10, 13}, {{colors.buttonText, '#'}}),
              (std::vector<std::string>{".###", "..#.", "...."}));
}

// A combo box 60 x 20 with a 17-pixel button: its outline, the one-pixel ring inside it and the
// line before the button in the field's colour, and the button's own outline and fill, by state.
TEST(ToolbarPictureTest, TheComboBoxFramesItsFieldAndButtonByState) {
    const SystemColors c;
    const Color ground = Rgb(9, 9, 9);
    const Color hot = HLSTransform(c.highlight, 70, -57);
    const Color pressed = HLSTransform(c.highlight, 50, -50);
    const struct {
        toolbar_xp::ComboState state;
        Color outline, ring, buttonOutline, buttonFill;
    } cases[] = {
        {{}, c.buttonShadow, c.window, c.buttonShadow, c.buttonFace},
        {{.hot = true}, c.highlight, c.window, c.highlight, hot},
        {{.focused = true}, c.highlight, c.window, c.highlight, hot},
        {{.dropped = true}, c.highlight, c.window, c.highlight, pressed},
        {{.docked = true}, c.window, c.window, c.window, c.buttonFace},
        {{.enabled = false}, c.buttonShadow, c.buttonFace, c.buttonShadow, c.buttonFace},
    };
    for (const auto& k : cases) {
        MemorySurface s({60, 20}, ground);
        toolbar_xp::PaintCombo(s, {0, 0, 60, 20}, 17, k.state, c);
        const auto i = &k - cases;
        for (auto [x, y] : {std::pair{0, 0}, {0, 10}, {10, 0}, {59, 19}}) {
            EXPECT_EQ(s.GetPixel({x, y}), k.outline) << i << ": " << x << ", " << y;
        }
        for (auto [x, y] : {std::pair{1, 1}, {41, 10}, {1, 18}, {20, 18}, {42, 10}, {42, 1}}) {
            EXPECT_EQ(s.GetPixel({x, y}), k.ring) << i << ": " << x << ", " << y;
        }
        for (auto [x, y] : {std::pair{2, 2}, {40, 10}, {2, 17}}) {
            EXPECT_EQ(s.GetPixel({x, y}), ground) << i << ": " << x << ", " << y;
        }
        EXPECT_EQ(s.GetPixel({43, 10}), k.buttonOutline) << i;
        EXPECT_EQ(s.GetPixel({44, 10}), k.buttonFill) << i;
    }
}

// The focus mark dots every other pixel of its outline counting from its own top-left pixel,
// wherever that lies, and its last row and column are the rectangle's.
TEST(FocusRectTest, DotsTheOutlineFromItsTopLeftPixel) {
    constexpr Color kGround = Rgb(9, 9, 9), kInk = Rgb(0, 0, 0);
    const struct {
        Size surface;
        Rect rect;
        std::vector<std::string> rows;
    } cases[] = {
        {{7, 5}, {1, 0, 6, 4}, {".#.#.#.", ".......", ".#...#.", "..#.#..", "......."}},
        {{5, 5}, {0, 1, 4, 4}, {".....", "#.#..", "...#.", "#.#..", "....."}},
        {{5, 5}, {1, 1, 1, 4}, {".....", ".....", ".....", ".....", "....."}},  // no width
        {{5, 5}, {1, 1, 4, 1}, {".....", ".....", ".....", ".....", "....."}},  // no height
    };
    for (const auto& k : cases) {
        MemorySurface s(k.surface, kGround);
        shapes::FocusRect(s, k.rect, kInk);
        EXPECT_EQ(Art(s, {0, 0, k.surface.width, k.surface.height}, {{kInk, '#'}}), k.rows)
            << k.rect.left << ", " << k.rect.top;
    }
}

// A strip 45 pixels wide holds two whole 16-pixel pictures; each index draws its own 16 x 16
// piece (or its shape in one colour) with its transparent pixels left alone. An index outside the
// whole pictures, a strip without pictures or without a picture width draws nothing.
TEST(ImageStripTest, DrawsWholePicturesByIndexAndNothingElse) {
    constexpr Color kGround = Rgb(9, 9, 9), kFirst = Rgb(255, 0, 0), kLast = Rgb(0, 0, 255),
                    kShape = Rgb(1, 1, 1);
    MemorySurface pictures({45, 16}, Rgb(192, 192, 192));
    pictures.FillSolidRect({16, 0, 17, 1}, kFirst);   // picture 1's first pixel
    pictures.FillSolidRect({31, 15, 32, 16}, kLast);  // and its last
    pictures.FillSolidRect({32, 0, 45, 16}, kFirst);  // what is left, no whole picture
    const struct {
        const Surface* pictures;
        int width, count, index;
    } cases[] = {{&pictures, 16, 2, 1},
                 {&pictures, 16, 2, 2},
                 {&pictures, 16, 2, -1},
                 {nullptr, 16, 0, 0},
                 {&pictures, 0, 0, 0}};
    EXPECT_EQ((ImageStrip{&pictures, {16, 16}}.ImageRect(1)), (Rect{16, 0, 32, 16}));
    for (const auto& k : cases) {
        const ImageStrip strip{k.pictures, {k.width, 16}};
        EXPECT_EQ(strip.Count(), k.count) << k.width;
        const bool drawn = k.index == 1;
        for (const bool silhouette : {false, true}) {
            MemorySurface s({20, 20}, kGround);
            if (silhouette) {
                strip.DrawSilhouette(s, k.index, {2, 2}, kShape);
            } else {
                strip.Draw(s, k.index, {2, 2});
            }
            int painted = 0;
            for (int y = 0; y < 20; ++y) {
                for (int x = 0; x < 20; ++x) painted += s.GetPixel({x, y}) != kGround;
            }
            EXPECT_EQ(painted, drawn ? 2 : 0) << "index " << k.index << ", width " << k.width;
            if (!drawn) continue;
            EXPECT_EQ(s.GetPixel({2, 2}), silhouette ? kShape : kFirst);
            EXPECT_EQ(s.GetPixel({17, 17}), silhouette ? kShape : kLast);
        }
    }
}

}  // namespace
