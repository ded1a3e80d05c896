// Pixel checks of the toolkit's painters where no font enters: the same painter call must give
// the same pixels on every canvas. Each canvas's test binary instantiates these tests with a
// maker of its surfaces:
//   struct Maker { static std::unique_ptr<Surface> Make(Size size, Color fill); };
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/toolkit/fake_menus.h"
#include "toolkit/hls_color.h"
#include "toolkit/menu_item_xp.h"
#include "toolkit/menu_wnd_xp.h"
#include "toolkit/menu_xp.h"
#include "toolkit/owner_draw.h"
#include "toolkit/shapes.h"
#include "toolkit/toolbar_xp.h"
#include "toolkit/xp_button.h"

namespace painter_pixels {

// A colour for each pixel, different everywhere: the screen behind a menu.
inline Color Behind(int x, int y) {
    return Rgb(static_cast<std::uint8_t>(40 + x), static_cast<std::uint8_t>(60 + 2 * y), 200);
}
inline Color Percent(Color c, int p) {
    return Rgb(static_cast<std::uint8_t>(RedOf(c) * p / 100),
               static_cast<std::uint8_t>(GreenOf(c) * p / 100),
               static_cast<std::uint8_t>(BlueOf(c) * p / 100));
}

template <typename Maker>
class PainterPixels : public ::testing::Test {
protected:
    void SetUp() override {
        CMenuXP::ClearTables();
        CMenuXP::ms_rcMenuBarItem = {};
    }
    void TearDown() override { CMenuXP::ClearTables(); }

    Canvas& Fresh(Size size, Color fill = Rgb(1, 2, 3)) {
        m_surface = Maker::Make(size, fill);
        return m_surface->GetCanvas();
    }
    Color At(int x, int y) { return m_surface->GetCanvas().GetPixel({x, y}); }

    // One pop-up item, converted, and drawn into a fresh 120 x 20 canvas. Whether it drew an open
    // menu-bar tab.
    bool DrawItem(const char* text, unsigned state, MenuItemDrawState draw = {}, unsigned type = 0,
                  const ImageStrip* images = nullptr, Rect rect = {0, 0, 120, 20}) {
        FakeMenus menus;
        const MenuHandle m = menus.Create();
        menus.Add(m, text, *text ? 7 : 0, type, state);
        struct OneImage final : CommandImages {
            const ImageStrip* strip;
            std::optional<MenuImage> Find(unsigned) const override {
                if (!strip) return std::nullopt;
                return MenuImage{strip, strip->Count() - 1};
            }
        } source;
        source.strip = images;
        // A row below the item shows what is drawn outside it.
        Canvas& canvas = Fresh({rect.right, rect.bottom + 1});
        CMenuXP::ConvertMenu(menus, m, true, draw.menuBar, canvas, &source);
        return CMenuItemXP(menus, m, 0, true).Draw(canvas, rect, draw, colors);
    }

    // `count` 16 x 16 pictures, transparent but for a red 4 x 4 square at (2, 2) of the last.
    const ImageStrip& Picture(int count = 1) {
        m_picture = Maker::Make({16 * count, 16}, m_strip.transparent);
        m_picture->GetCanvas().FillSolidRect({16 * count - 14, 2, 16 * count - 10, 6}, kRed);
        m_strip.pictures = m_picture.get();
        return m_strip;
    }

    static constexpr Color kRed = Rgb(255, 0, 0);
    SystemColors colors;  // the Windows XP scheme
    MenuPalette palette = MenuPalette::From(colors);
    std::unique_ptr<Surface> m_surface;
    std::unique_ptr<Surface> m_picture;
    ImageStrip m_strip;
};
TYPED_TEST_SUITE_P(PainterPixels);

TYPED_TEST_P(PainterPixels, ShapesTakeTheirRowsFromTheEllipse) {
    Canvas& c = this->Fresh({12, 12}, Rgb(9, 9, 9));
    shapes::Ellipse(c, {1, 1, 8, 8}, Rgb(0, 0, 0), Rgb(0, 0, 0));
    const int widths[] = {3, 5, 7, 7, 7, 5, 3};
    for (int y = 0; y < 7; ++y) {
        int count = 0;
        for (int x = 0; x < 12; ++x) count += this->At(x, y + 1) == Rgb(0, 0, 0);
        EXPECT_EQ(count, widths[y]) << "row " << y;
        EXPECT_EQ(this->At(1 + (7 - widths[y]) / 2, y + 1), Rgb(0, 0, 0)) << "centred, row " << y;
    }
    Canvas& r = this->Fresh({20, 12}, Rgb(9, 9, 9));
    shapes::RoundRect(r, {0, 0, 20, 12}, {10, 10}, Rgb(0, 0, 0), Rgb(255, 255, 255));
    // Outline rows start 3, 1, 1, 0, 0 in; the fill is one pixel inside, evenly.
    EXPECT_EQ(this->At(2, 0), Rgb(9, 9, 9));
    EXPECT_EQ(this->At(3, 0), Rgb(0, 0, 0));
    EXPECT_EQ(this->At(0, 1), Rgb(9, 9, 9));
    EXPECT_EQ(this->At(1, 1), Rgb(0, 0, 0));
    EXPECT_EQ(this->At(2, 1), Rgb(0, 0, 0));
    EXPECT_EQ(this->At(3, 1), Rgb(255, 255, 255));
    EXPECT_EQ(this->At(1, 2), Rgb(0, 0, 0));
    EXPECT_EQ(this->At(2, 2), Rgb(255, 255, 255));
    EXPECT_EQ(this->At(0, 3), Rgb(0, 0, 0));
    EXPECT_EQ(this->At(1, 3), Rgb(255, 255, 255));
    EXPECT_EQ(this->At(19, 11), Rgb(9, 9, 9));
    EXPECT_EQ(this->At(16, 11), Rgb(0, 0, 0));
    EXPECT_EQ(this->At(18, 9), Rgb(0, 0, 0));
    EXPECT_EQ(this->At(17, 9), Rgb(255, 255, 255));
}

// The button's face in each state, without a label: its ground, outline, gradient and frame.
TYPED_TEST_P(PainterPixels, ButtonStatesPaintTheirGradientsAndFrames) {
    struct Case {
        const char* name;
        unsigned state;
        bool hover;
        bool emphasised;
        const CXPButton::Frame* frame;
    };
    const Case cases[] = {
        {"normal", 0, false, false, nullptr},
        {"hover", 0, true, false, &CXPButton::kHoverFrame},
        {"focus", ods::kFocus, false, true, &CXPButton::kFocusFrame},
        {"hover and focus", ods::kFocus, true, true, &CXPButton::kHoverFrame},
        {"pressed", ods::kSelected, false, true, nullptr},
        {"default", ods::kDefault, false, true, nullptr},
        {"disabled", ods::kDisabled, false, false, nullptr},
    };
    const int W = 70, H = 21;  // h = 17: rows 2..19 take colours (63 y) / 18
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        CXPButton button;
        if (k.hover) {
            button.OnMouseMove([] { return true; });
            button.OnMouseHover();
        }
        Canvas& c = this->Fresh({W, H});
        button.DrawItem(c, {0, 0, W, H}, k.state, "");
        EXPECT_EQ(this->At(0, 0), CXPButton::kGround);
        EXPECT_EQ(this->At(W - 1, H - 1), CXPButton::kGround);
        EXPECT_EQ(this->At(5, 0), CXPButton::kOutline);
        EXPECT_EQ(this->At(0, 10), CXPButton::kOutline);
        EXPECT_EQ(this->At(W - 1, 10), CXPButton::kOutline);
        EXPECT_EQ(this->At(5, H - 1), CXPButton::kOutline);
        EXPECT_EQ(this->At(W - 2, 10) == CXPButton::kInside, !k.frame) << "white right of face";

        // Rows 2..19 of the gradient, except where a frame covers them.
        for (int y = 2; y <= 19; ++y) {
            const Color row = CXPButton::GradientColor(63 * y / 18, k.hover, k.emphasised);
            if (!k.frame) {
                EXPECT_EQ(this->At(2, y), row) << "row " << y;
                EXPECT_EQ(this->At(W - 3, y), row) << "row " << y;
            } else if (y > 2 && y < 18) {
                EXPECT_EQ(this->At(4, y), row) << "row " << y;
                EXPECT_EQ(this->At(30, y), row) << "row " << y;
            }
        }
        if (!k.frame) {
            EXPECT_EQ(this->At(30, 19), CXPButton::GradientColor(63, k.hover, k.emphasised))
                << "the last row, past colour 63, keeps colour 63";
            EXPECT_EQ(this->At(1, 10), CXPButton::kInside);
        }
        if (k.frame) {
            EXPECT_EQ(this->At(1, 5), k.frame->left.color);
            EXPECT_EQ(this->At(3, 16), k.frame->left.color);
            EXPECT_EQ(this->At(1, 4), CXPButton::kInside) << "the left side starts at T + 3";
            EXPECT_EQ(this->At(W - 4, 5), k.frame->right.color);
            EXPECT_EQ(this->At(W - 2, 16), k.frame->right.color);
            EXPECT_EQ(this->At(4, 1), k.frame->top.color);
            EXPECT_EQ(this->At(W - 5, 2), k.frame->top.color);
            EXPECT_EQ(this->At(W - 4, 2), CXPButton::GradientColor(7, k.hover, k.emphasised));
            EXPECT_EQ(this->At(4, 18), k.frame->bottom.color);
            EXPECT_EQ(this->At(W - 5, 19), k.frame->bottom.color);
            EXPECT_EQ(this->At(W - 5, 20), CXPButton::kOutline);
        }
    }
    // A 23-pixel button: first row brush 6, the row before the last brush 63.
    CXPButton tall;
    this->Fresh({W, 23});
    tall.DrawItem(this->m_surface->GetCanvas(), {0, 0, W, 23}, 0, "");
    EXPECT_EQ(this->At(30, 2), CXPButton::GradientColor(6, false, false));
    EXPECT_EQ(this->At(30, 20), CXPButton::GradientColor(63, false, false));
    EXPECT_EQ(CXPButton::GradientColor(63, false, false), Rgb(234, 234, 243));
    EXPECT_EQ(CXPButton::GradientColor(63, false, true), Rgb(234, 234, 240));
    EXPECT_EQ(CXPButton::GradientColor(63, true, false), Rgb(240, 240, 243));
    EXPECT_EQ(CXPButton::GradientColor(63, true, true), Rgb(240, 240, 234));
}

TYPED_TEST_P(PainterPixels, PopupItemsHaveABandPaperAndAHighlightBox) {
    const MenuPalette& p = this->palette;
    this->DrawItem("E&xit", 0);
    EXPECT_EQ(this->At(0, 0), p.band);
    EXPECT_EQ(this->At(21, 19), p.band);
    EXPECT_EQ(this->At(22, 0), p.paper);
    EXPECT_EQ(this->At(119, 19), p.paper);
    EXPECT_EQ(p.paper, Rgb(249, 248, 244));

    this->DrawItem("E&xit", 0, {.selected = true});
    for (auto [x, y] : {std::pair{0, 0}, {119, 0}, {0, 19}, {119, 19}, {60, 0}, {0, 10}}) {
        EXPECT_EQ(this->At(x, y), p.frame) << x << ", " << y;
    }
    EXPECT_EQ(this->At(1, 1), p.hotFill);
    EXPECT_EQ(this->At(21, 10), p.hotFill) << "no band under the highlight";
    EXPECT_EQ(this->At(118, 18), p.hotFill);

    this->DrawItem("E&xit", menu_bits::kGrayed, {.selected = true});
    EXPECT_EQ(this->At(0, 0), p.frame);
    EXPECT_EQ(this->At(1, 1), p.dimFill);

    // A separator: a rule from x = 30 to one pixel before the right edge, at the middle row.
    this->DrawItem("", 0, {}, 0, nullptr, {0, 0, 120, 8});
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(this->At(30, y), y == 4 ? p.rule : p.paper) << y;
        EXPECT_EQ(this->At(118, y), y == 4 ? p.rule : p.paper) << y;
        EXPECT_EQ(this->At(119, y), p.paper) << y;
        EXPECT_EQ(this->At(29, y), p.paper) << y;
        EXPECT_EQ(this->At(10, y), p.band) << y;
    }
}

TYPED_TEST_P(PainterPixels, CheckedItemsShowAMarkABulletOrTheirImage) {
    const MenuPalette& p = this->palette;
    // The check box (1, 1)-(20, 19), the mark in its middle in the text colour.
    this->DrawItem("&Start", menu_bits::kChecked);
    EXPECT_EQ(this->At(1, 1), p.frame);
    EXPECT_EQ(this->At(19, 18), p.frame);
    EXPECT_EQ(this->At(20, 10), p.band);
    EXPECT_EQ(this->At(2, 2), p.hotFill);
    EXPECT_EQ(this->At(13, 6), p.text) << "the mark's top right";
    EXPECT_EQ(this->At(7, 8), p.text);
    EXPECT_EQ(this->At(9, 12), p.text) << "its tip";
    EXPECT_EQ(this->At(7, 6), p.hotFill);
    this->DrawItem("&Start", menu_bits::kChecked, {.selected = true});
    EXPECT_EQ(this->At(2, 2), p.hotBox) << "a selected item's box";
    this->DrawItem("&Start", menu_bits::kChecked | menu_bits::kGrayed, {.selected = true});
    EXPECT_EQ(this->At(2, 2), p.dimFill);
    EXPECT_EQ(this->At(13, 6), p.disabledText) << "disabled text colour";

    // A radio item: a 7 x 7 bullet at (8, 7)-(15, 14) with one highlight pixel.
    this->DrawItem("&Start", menu_bits::kChecked, {}, menu_bits::kRadioCheck);
    EXPECT_EQ(this->At(12, 10), p.text);
    EXPECT_EQ(this->At(8, 10), p.text);
    EXPECT_EQ(this->At(14, 10), p.text);
    EXPECT_EQ(this->At(10, 7), p.text);
    EXPECT_EQ(this->At(9, 7), p.hotFill) << "a round corner";
    EXPECT_EQ(this->At(13, 12), p.hotFill) << "the highlight pixel";
    EXPECT_EQ(this->At(12, 12), p.text);
    EXPECT_EQ(this->At(15, 10), p.hotFill);
    this->DrawItem("&Start", menu_bits::kChecked | menu_bits::kGrayed, {}, menu_bits::kRadioCheck);
    EXPECT_EQ(this->At(12, 10), p.ghost);

    // With an image (the item's is the second of its strip): the box and the image at offset 3,
    // no mark.
    const ImageStrip& picture = this->Picture(2);
    this->DrawItem("&Start", menu_bits::kChecked, {}, 0, &picture);
    EXPECT_EQ(this->At(5, 5), this->kRed);
    EXPECT_EQ(this->At(8, 8), this->kRed);
    EXPECT_EQ(this->At(9, 9), p.hotFill);
    EXPECT_EQ(this->At(13, 6), p.hotFill) << "no check mark over an image";
    // Selected and unchecked: lifted to offset 2 over its shadow at offset 4.
    this->DrawItem("&Start", 0, {.selected = true}, 0, &picture);
    EXPECT_EQ(this->At(4, 4), this->kRed);
    EXPECT_EQ(this->At(7, 7), this->kRed);
    EXPECT_EQ(this->At(9, 9), p.iconShadow);
    EXPECT_EQ(this->At(10, 10), p.hotFill);
    EXPECT_EQ(this->At(10, 9), p.hotFill);
    EXPECT_EQ(this->At(9, 10), p.hotFill);
    // Neither selected nor checked: in place at offset 3.
    this->DrawItem("&Start", 0, {}, 0, &picture);
    EXPECT_EQ(this->At(5, 5), this->kRed);
    EXPECT_EQ(this->At(4, 4), p.band);
    // Disabled: only a ghost at offset 3.
    this->DrawItem("&Start", menu_bits::kGrayed, {}, 0, &picture);
    EXPECT_EQ(this->At(5, 5), p.ghost);
    EXPECT_EQ(this->At(8, 8), p.ghost);
    EXPECT_EQ(this->At(4, 4), p.band);
}

TYPED_TEST_P(PainterPixels, MenuBarItemsAreFacePlainHotOrAnOpenTabWithAShadowStrip) {
    const MenuPalette& p = this->palette;
    const Rect item{0, 0, 40, 19};
    const int R = 40, T = 0;
    this->DrawItem("&File", 0, {.menuBar = true}, 0, nullptr, item);
    EXPECT_EQ(this->At(0, 0), p.face);
    EXPECT_EQ(this->At(39, 18), p.face);

    EXPECT_FALSE(this->DrawItem("&File", 0, {.menuBar = true, .hotLight = true}, 0, nullptr, item));
    EXPECT_EQ(this->At(0, 0), p.frame);
    EXPECT_EQ(this->At(35, 18), p.frame);
    EXPECT_EQ(this->At(35, 10), p.frame);
    EXPECT_EQ(this->At(1, 1), p.hotFill);
    EXPECT_EQ(this->At(36, 10), p.face) << "the strip stays plain";
    EXPECT_EQ(this->At(39, 10), p.face);

    this->DrawItem("&File", 0, {.menuBar = true, .hotLight = true, .inactive = true}, 0, nullptr,
                   item);
    EXPECT_EQ(this->At(0, 0), p.face) << "hot in an inactive window: plain";
    EXPECT_EQ(this->At(1, 1), p.face);

    EXPECT_TRUE(this->DrawItem("&File", 0, {.selected = true, .menuBar = true}, 0, nullptr, item));
    EXPECT_EQ(this->At(0, 0), p.tabEdge);
    EXPECT_EQ(this->At(35, 18), p.tabEdge);
    EXPECT_EQ(this->At(35, 10), p.tabEdge);
    EXPECT_EQ(this->At(1, 1), p.band);
    EXPECT_EQ(CMenuXP::ms_rcMenuBarItem, (Rect{0, 0, 36, 19}));
    EXPECT_EQ(this->At(R - 1, T + 5), p.face);
    EXPECT_EQ(this->At(R - 1, T + 6), Percent(p.face, 93));
    EXPECT_EQ(this->At(R - 4, T + 7), Percent(p.face, 78));
    // The strip's rounded top: rows 4 to 7 as the shadow of a menu window's right side.
    const int top[4][4] = {{93, 93, 0, 0}, {88, 88, 93, 0}, {83, 83, 88, 93}, {78, 83, 88, 93}};
    for (int row = 0; row < 4; ++row) {
        for (int k = 0; k < 4; ++k) {
            const int percent = top[row][k];
            EXPECT_EQ(this->At(R - 4 + k, T + 4 + row), percent ? Percent(p.face, percent) : p.face)
                << "column R - " << 4 - k << ", row T + " << 4 + row;
        }
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(this->At(R - 4 + k, T + 3), p.face);
        EXPECT_EQ(this->At(R - 4 + k, 18), Percent(p.face, 78 + 5 * k));
        EXPECT_EQ(this->At(R - 4 + k, 19), Rgb(1, 2, 3)) << "the strip ends with the item";
    }
}

// A menu that the window system sizes 100 x 60 grows to 104 x 64: the outline runs round
// (0, 0)-(100, 60) and the shadow fills columns 100 to 103 and rows 60 to 63. Printed or painted
// on screen, the shadow darkens the snapshot, never the window's own (black) pixels.
TYPED_TEST_P(PainterPixels, AMenuWindowGetsItsOutlineAndAShadowFromThePixelsBehindIt) {
    for (const bool printed : {true, false}) {
        SCOPED_TRACE(printed ? "printed" : "non-client paint");
        CMenuWndXP menu(true);
        CMenuWndXP::WindowPos pos{300, 200, 100, 60};
        menu.OnWindowPosChanging(pos);
        EXPECT_EQ(pos.cx, 104);
        EXPECT_EQ(pos.cy, 64);
        EXPECT_EQ(pos.y, 199);
        EXPECT_EQ(menu.SnapshotRect({100, 60}), (Rect{300, 199, 410, 269}));
        EXPECT_EQ(menu.WindowSnapshotRect(), (Rect{300, 199, 404, 263}));
        const int W = 104, H = 64;

        std::unique_ptr<Surface> snapshot = TypeParam::Make({W + 6, H + 6}, 0);
        for (int y = 0; y < H + 6; ++y) {
            for (int x = 0; x < W + 6; ++x) snapshot->GetCanvas().SetPixel({x, y}, Behind(x, y));
        }
        Canvas& window = this->Fresh({W, H}, Rgb(7, 7, 7));
        const Rect onScreen{300, 199, 300 + W, 199 + H};
        if (printed) {
            menu.OnPrint(window, snapshot.get(), onScreen, true, this->colors);
        } else {
            EXPECT_TRUE(menu.OnNcPaint(window, snapshot.get(), onScreen, this->colors));
        }

        const auto expect = [&](int x, int y, int percent) {
            EXPECT_EQ(this->At(x, y), percent ? Percent(Behind(x, y), percent) : Behind(x, y))
                << "at (" << x << ", " << y << ")";
        };
        const int rightTop[4][4] = {
            {93, 93, 0, 0}, {88, 88, 93, 0}, {83, 83, 88, 93}, {78, 83, 88, 93}};
        const int bottomLeft[4][4] = {
            {93, 88, 83, 78}, {93, 88, 83, 83}, {0, 93, 88, 88}, {0, 0, 93, 93}};
        const int corner[6][5] = {{-1, 78, 83, 88, 93}, {-1, 78, 83, 88, 93}, {78, 78, 83, 88, 93},
                                  {83, 83, 83, 88, 93}, {88, 88, 88, 88, 0},  {93, 93, 93, 0, 0}};
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col) {
                expect(W - 4 + col, 4 + row, rightTop[row][col]);
                expect(4 + col, H - 4 + row, bottomLeft[row][col]);
            }
        }
        for (int row = 0; row < 6; ++row) {
            for (int col = 0; col < 5; ++col) {
                if (corner[row][col] >= 0) expect(W - 5 + col, H - 6 + row, corner[row][col]);
            }
        }
        for (int k = 0; k < 4; ++k) {
            expect(W - 4 + k, 30, 78 + 5 * k);
            expect(50, H - 4 + k, 78 + 5 * k);
            for (int y = 0; y < 4; ++y) expect(W - 4 + k, y, 0);
            for (int x = 0; x < 4; ++x) expect(x, H - 4 + k, 0);
        }
        // The frame: a dark outline round the menu, two rings of paper inside it.
        for (auto [x, y] :
             {std::pair{0, 0}, {99, 0}, {0, 59}, {99, 59}, {50, 0}, {99, 30}, {50, 59}}) {
            EXPECT_EQ(this->At(x, y), this->colors.darkShadow) << x << ", " << y;
        }
        for (auto [x, y] :
             {std::pair{1, 1}, {2, 2}, {98, 58}, {97, 57}, {50, 1}, {50, 2}, {50, 58}, {50, 57}}) {
            EXPECT_EQ(this->At(x, y), this->palette.paper) << x << ", " << y;
        }
        EXPECT_EQ(this->At(3, 3), Rgb(7, 7, 7)) << "the items' area is the items'";
    }
}

TYPED_TEST_P(PainterPixels, TheTopBorderOpensBelowTheMenuBarItemItHangsFrom) {
    const MenuPalette& p = this->palette;
    CMenuWndXP menu(true);
    CMenuWndXP::WindowPos pos{100, 131, 100, 60};  // below an item whose bottom is at 131
    menu.OnWindowPosChanging(pos);
    // The item's tab as a dialog's menu bar reports it: from x = 104 to 140.
    CMenuXP::ms_rcMenuBarItem = {104, 112, 140, 131};
    Canvas& window = this->Fresh({104, 64});
    menu.OnPrint(window, nullptr, {100, 130, 204, 194}, true, this->colors);
    EXPECT_EQ(this->At(0, 0), this->colors.darkShadow);
    EXPECT_EQ(this->At(1, 0), p.band);
    EXPECT_EQ(this->At(34, 0), p.band);
    EXPECT_EQ(this->At(35, 0), this->colors.darkShadow);
    EXPECT_EQ(this->At(1, 1), p.paper);

    // Printed before any item was painted, or hanging elsewhere (the tray's menu): closed.
    menu.OnPrint(window, nullptr, {100, 130, 204, 194}, false, this->colors);
    EXPECT_EQ(this->At(1, 0), this->colors.darkShadow);
    CMenuWndXP tray(true);
    CMenuWndXP::WindowPos low{100, 300, 100, 60};
    tray.OnWindowPosChanging(low);
    tray.OnPrint(window, nullptr, {100, 299, 204, 363}, true, this->colors);
    EXPECT_EQ(this->At(10, 0), this->colors.darkShadow);
    // A tab without a width or a height opens nothing.
    for (const Rect& empty : {Rect{104, 112, 104, 131}, Rect{104, 131, 140, 131}}) {
        CMenuXP::ms_rcMenuBarItem = empty;
        menu.OnPrint(window, nullptr, {100, 130, 204, 194}, true, this->colors);
        EXPECT_EQ(this->At(1, 0), this->colors.darkShadow);
    }
    // Printed without a snapshot of the screen, the shadow darkens the window's own pixels, each
    // once: as over a snapshot of the same grey. A non-client paint of the frame after it has
    // nothing to do.
    const Color grey = Rgb(100, 100, 100);
    const auto shadow = [&](bool snapshot) {
        std::unique_ptr<Surface> behind = TypeParam::Make({110, 70}, grey);
        Canvas& own = this->Fresh({104, 64}, grey);
        tray.OnPrint(own, snapshot ? behind.get() : nullptr, {100, 299, 204, 363}, true,
                     this->colors);
        std::vector<Color> pixels;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 104; ++x) {
                if (x >= 100 || y >= 60) pixels.push_back(this->At(x, y));
            }
        }
        return pixels;
    };
    const std::vector<Color> own = shadow(false);
    EXPECT_FALSE(
        tray.OnNcPaint(this->m_surface->GetCanvas(), nullptr, {100, 299, 204, 363}, this->colors));
    EXPECT_EQ(own, shadow(true));
    EXPECT_EQ(this->At(100, 30), Percent(grey, 78));
}

TYPED_TEST_P(PainterPixels, ASecondNonClientPaintOfAnUnchangedMenuLeavesItsShadowAlone) {
    CMenuWndXP menu(true);
    Canvas& window = this->Fresh({104, 64});
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 104; ++x) window.SetPixel({x, y}, Behind(x, y));
    }
    EXPECT_TRUE(menu.OnNcPaint(window, nullptr, {300, 200, 404, 264}, this->colors));
    EXPECT_EQ(this->At(103, 30), Percent(Behind(103, 30), 93));
    EXPECT_EQ(menu.Position(), (Point{300, 200}));
    EXPECT_FALSE(menu.OnNcPaint(window, nullptr, {310, 200, 414, 264}, this->colors))
        << "moved only";
    EXPECT_EQ(this->At(103, 30), Percent(Behind(103, 30), 93));
    EXPECT_EQ(this->At(100, 30), Percent(Behind(100, 30), 78));
    EXPECT_TRUE(menu.OnNcPaint(window, nullptr, {310, 200, 414, 265}, this->colors))
        << "a new size";
    EXPECT_EQ(this->At(103, 30), Percent(Percent(Behind(103, 30), 93), 93));

    // Without shadows (Windows XP) the outline runs round the whole window.
    CMenuWndXP plain(false);
    CMenuWndXP::WindowPos pos{0, 10, 100, 60};
    plain.OnWindowPosChanging(pos);
    EXPECT_EQ(pos.cx, 100);
    EXPECT_EQ(pos.y, 9);
    Canvas& flat = this->Fresh({100, 60}, Rgb(5, 5, 5));
    EXPECT_TRUE(plain.OnNcPaint(flat, nullptr, {0, 9, 100, 69}, this->colors));
    EXPECT_EQ(this->At(99, 59), this->colors.darkShadow);
}

TYPED_TEST_P(PainterPixels, ToolbarButtonsShowHotPressedCheckedAndDisabledStates) {
    using namespace toolbar_bits;
    const auto face = [&](int l, int s) { return HLSTransform(this->colors.buttonFace, l, s); };
    const auto light = [&](int l, int s) { return HLSTransform(this->colors.highlight, l, s); };
    const ImageStrip& picture = this->Picture();
    const ToolbarButton buttons[] = {
        {0, 0, kEnabled, 0, {0, 0, 23, 22}},                          // hot, command 0
        {0, 2, kEnabled | kChecked, 0, {23, 0, 46, 22}},              // pressed
        {0, 3, 0, 0, {46, 0, 69, 22}},                                // disabled
        {-1, 0, kEnabled | kWrap, kSeparatorStyle, {69, 0, 77, 22}},  // wrapping separator
        {0, 4, kEnabled, kDropDownStyle, {77, 0, 113, 22}},           // drop-down, pressed
        {-1, 0, kEnabled, kSeparatorStyle, {113, 0, 120, 22}},        // separator
    };
    Canvas& c = this->Fresh({130, 30});
    ToolbarView view{{0, 0, 130, 30}, {0, 0, 130, 30}, {30, 10}, true, 0, &picture};
    toolbar_xp::PaintToolbar(c, view, buttons, this->colors);
    EXPECT_EQ(this->At(125, 28), face(20, 0));
    // Hot, not pressed (the cursor is elsewhere): framed, image at 2 over a silhouette at 4.
    EXPECT_EQ(this->At(0, 0), this->colors.highlight);
    EXPECT_EQ(this->At(1, 1), light(70, -57));
    EXPECT_EQ(this->At(4, 4), this->kRed);
    EXPECT_EQ(this->At(8, 8), light(50, -66));
    // Pressed: the darker fill, image at 3, no silhouette.
    EXPECT_EQ(this->At(24, 1), light(50, -50));
    EXPECT_EQ(this->At(28, 5), this->kRed);
    EXPECT_EQ(this->At(32, 9), light(50, -50));
    // Disabled: only a silhouette at 3.
    EXPECT_EQ(this->At(51, 5), face(-27, 0));
    EXPECT_EQ(this->At(46, 0), face(20, 0));
    // The wrapping separator: a line across the client, 4 pixels above the row's bottom.
    EXPECT_EQ(this->At(1, 18), light(70, -57));
    EXPECT_EQ(this->At(2, 18), face(-15, 0));
    EXPECT_EQ(this->At(127, 18), face(-15, 0));
    EXPECT_EQ(this->At(128, 18), face(20, 0));
    // The plain separator: a vertical line at its middle (rounded down) less one.
    EXPECT_EQ(this->At(115, 2), face(-15, 0));
    EXPECT_EQ(this->At(115, 1), face(20, 0));
    EXPECT_EQ(this->At(115, 19), face(-15, 0));
    EXPECT_EQ(this->At(115, 20), face(20, 0));
    EXPECT_EQ(this->At(116, 10), face(20, 0));

    // Pressing the main part of a drop-down button.
    view.cursor = {80, 10};
    view.hotItem = 4;
    Canvas& d = this->Fresh({130, 30});
    toolbar_xp::PaintToolbar(d, view, buttons, this->colors);
    EXPECT_EQ(this->At(90, 1), light(50, -50));
    EXPECT_EQ(this->At(98, 1), light(50, -50));
    EXPECT_EQ(this->At(99, 5), this->colors.highlight) << "the arrow part's left edge";
    EXPECT_EQ(this->At(105, 1), light(70, -66));
    EXPECT_EQ(this->At(104, 10), Rgb(0, 0, 0)) << "the arrow of a hot button is black";
    EXPECT_EQ(this->At(106, 12), Rgb(0, 0, 0));

    // Only the buttons that meet the painted part are painted, and hidden ones never. An
    // indeterminate button: framed in the dark shadow, its image lifted as on a hot button.
    const ToolbarButton around[] = {
        {0, 5, kEnabled | kChecked, 0, {40, 10, 63, 32}},            // right, touching it
        {0, 6, kEnabled | kChecked, 0, {-3, 10, 20, 32}},            // left
        {0, 7, kEnabled | kChecked, 0, {20, 30, 43, 52}},            // below
        {0, 8, kEnabled | kChecked, 0, {20, -12, 43, 10}},           // above
        {0, 9, kEnabled | kChecked | kHidden, 0, {20, 10, 43, 32}},  // hidden
        {0, 10, kEnabled | kIndeterminate, 0, {60, 0, 80, 20}},
    };
    Canvas& m = this->Fresh({90, 60}, Rgb(9, 9, 9));
    toolbar_xp::PaintToolbar(m, {{20, 10, 40, 30}, {0, 0, 90, 60}, {}, false, -1, nullptr}, around,
                             this->colors);
    for (auto [x, y] : {std::pair{41, 11}, {19, 11}, {21, 31}, {21, 9}}) {
        EXPECT_EQ(this->At(x, y), Rgb(9, 9, 9)) << x << ", " << y;
    }
    EXPECT_EQ(this->At(21, 11), face(20, 0));
    toolbar_xp::PaintToolbar(m, {{60, 0, 80, 20}, {0, 0, 90, 60}, {}, false, -1, &picture}, around,
                             this->colors);
    for (auto [x, y] : {std::pair{60, 5}, {65, 0}, {79, 0}, {79, 5}, {79, 19}, {65, 19}}) {
        EXPECT_EQ(this->At(x, y), this->colors.darkShadow) << x << ", " << y;
    }
    EXPECT_EQ(this->At(70, 12), face(20, 0));
    EXPECT_EQ(this->At(64, 4), this->kRed);
    EXPECT_EQ(this->At(68, 8), face(-20, 0));

    // The status bar frames its panes; the combo box's arrow button.
    Canvas& s = this->Fresh({60, 20}, Rgb(9, 9, 9));
    const Rect panes[] = {{0, 0, 30, 20}, {32, 2, 60, 18}};
    toolbar_xp::PaintStatusBar(s, panes, this->colors);
    EXPECT_EQ(this->At(29, 19), this->colors.buttonShadow);
    EXPECT_EQ(this->At(32, 17), this->colors.buttonShadow);
    EXPECT_EQ(this->At(10, 10), Rgb(9, 9, 9));
    Canvas& a = this->Fresh({20, 20});
    toolbar_xp::PaintArrowButton(a, {0, 0, 17, 20}, {false, true, true, false}, this->colors);
    EXPECT_EQ(this->At(0, 0), this->colors.highlight);
    EXPECT_EQ(this->At(8, 12), Rgb(0, 0, 0)) << "the arrow's tip, black on the hot fill";
    EXPECT_EQ(this->At(5, 9), Rgb(0, 0, 0));
    EXPECT_EQ(this->At(12, 9), light(70, -57));
}

REGISTER_TYPED_TEST_SUITE_P(PainterPixels, ShapesTakeTheirRowsFromTheEllipse,
                            ButtonStatesPaintTheirGradientsAndFrames,
                            PopupItemsHaveABandPaperAndAHighlightBox,
                            CheckedItemsShowAMarkABulletOrTheirImage,
                            MenuBarItemsAreFacePlainHotOrAnOpenTabWithAShadowStrip,
                            AMenuWindowGetsItsOutlineAndAShadowFromThePixelsBehindIt,
                            TheTopBorderOpensBelowTheMenuBarItemItHangsFrom,
                            ASecondNonClientPaintOfAnUnchangedMenuLeavesItsShadowAlone,
                            ToolbarButtonsShowHotPressedCheckedAndDisabledStates);

}  // namespace painter_pixels
