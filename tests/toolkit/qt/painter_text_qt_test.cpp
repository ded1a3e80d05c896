// What the painters' texts look like on the Qt canvas, where a font draws them: the labels of
// buttons and the texts of menu items, and the text operations of the canvas.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>
#include <utility>

#include "tests/toolkit/fake_menus.h"
#include "toolkit/menu_item_xp.h"
#include "toolkit/menu_xp.h"
#include "toolkit/owner_draw.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/xp_button.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

// The dialog font without antialiasing, so that a text moved by whole pixels moves pixel for
// pixel and takes exactly its colour.
QtStockFonts Fonts() {
    QFont gui("NanumGothic");
    gui.setPixelSize(12);
    gui.setStyleStrategy(QFont::NoAntialias);
    return QtStockFonts::From(gui);
}

template <typename Paint>
QImage Painted(QSize size, Paint paint) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    QtCanvas canvas(painter, Fonts());
    canvas.SetFont({});
    paint(canvas);
    return image;
}

// The pixels of `image` with exactly colour `c`, in `area` if given.
Pixels Where(const QImage& image, Color c, QRect area = {}) {
    Pixels found;
    if (area.isNull()) area = image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (Rgb(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                    static_cast<std::uint8_t>(qBlue(p))) == c) {
                found.insert({x, y});
            }
        }
    }
    return found;
}

Pixels Moved(const Pixels& pixels, int dx, int dy) {
    Pixels moved;
    for (auto [x, y] : pixels) moved.insert({x + dx, y + dy});
    return moved;
}

QImage Button(unsigned state) {
    return Painted({70, 21}, [&](Canvas& c) {
        CXPButton button;
        button.DrawItem(c, {0, 0, 70, 21}, state, "Start");
    });
}

// Inside the frame, where only the label differs from the face.
const QRect kFace(4, 3, 62, 15);

TEST(ButtonLabelTest, PressedMovesTheLabelAndDisabledEmbossesItInPlace) {
    const Pixels normal = Where(Button(ods::kDefault), CXPButton::kLabel, kFace);
    ASSERT_GT(normal.size(), 20u);
    EXPECT_EQ(Where(Button(ods::kDefault | ods::kSelected), CXPButton::kLabel, kFace),
              Moved(normal, 1, 1));
    // Where an enabled label is, and its light copy one pixel right and down wherever the grey
    // leaves it uncovered.
    const QImage disabled = Button(ods::kDisabled);
    const Pixels grey = Where(disabled, CXPButton::kEmbossShadow, kFace);
    EXPECT_EQ(grey, Where(Button(0), CXPButton::kLabel, kFace));
    const Pixels light = Where(disabled, CXPButton::kEmbossLight);
    for (auto p : Moved(grey, 1, 1)) {
        if (!grey.count(p)) {
            EXPECT_TRUE(light.count(p)) << p.first << ", " << p.second;
        }
    }
    const auto unlabelled = [](Canvas& c) { CXPButton().DrawItem(c, {0, 0, 70, 21}, 0, ""); };
    EXPECT_TRUE(Where(Painted({70, 21}, unlabelled), CXPButton::kLabel, kFace).empty());
}

class MenuTextTest : public ::testing::Test {
protected:
    void SetUp() override { CMenuXP::ClearTables(); }
    void TearDown() override { CMenuXP::ClearTables(); }

    QImage Item(const std::string& text, unsigned state, MenuItemDrawState draw,
                Rect rect = {0, 0, 140, 20}) {
        return Painted({rect.right, rect.bottom}, [&](Canvas& c) {
            FakeMenus menus;
            const MenuHandle m = menus.Create();
            menus.Add(m, text, 9, 0, state);
            CMenuXP::ConvertMenu(menus, m, true, draw.menuBar, c);
            CMenuItemXP(menus, m, 0, true).Draw(c, rect, draw, colors);
        });
    }
    // The leftmost and rightmost columns with pixels of colour `c`.
    static std::pair<int, int> Columns(const Pixels& pixels) {
        int left = 1 << 20, right = -1;
        for (auto [x, y] : pixels) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
        return {left, right};
    }
    SystemColors colors;
    MenuPalette palette = MenuPalette::From(colors);
};

TEST_F(MenuTextTest, TextStartsAtThirtyAndTheAcceleratorEndsTwelveBeforeTheEdge) {
    const Pixels ink = Where(Item("&Open\tCtrl+O", 0, {}), palette.text);
    ASSERT_FALSE(ink.empty());
    const auto [left, right] = Columns(ink);
    EXPECT_GE(left, 30);
    EXPECT_LE(left, 32);
    EXPECT_LE(right, 140 - 12 - 1);
    EXPECT_GE(right, 140 - 12 - 3);
    // Exactly where the canvas puts the same text right-aligned to that edge.
    const auto alone = Painted({140, 20}, [](Canvas& c) {
        c.DrawText("Ctrl+O", {30, 0, 128, 20},
                   TextFlags::kRight | TextFlags::kVCenter | TextFlags::kSingleLine,
                   Rgb(255, 255, 255));
    });
    const QRect accelerator(90, 0, 50, 20);
    EXPECT_EQ(Where(Item("&Open\tCtrl+O", 0, {}), palette.text, accelerator),
              Where(alone, Rgb(255, 255, 255), accelerator));
    EXPECT_FALSE(Where(Item("E&xit", menu_bits::kGrayed, {}), palette.disabledText).empty())
        << "disabled text is drawn in its own colour";
    EXPECT_GT(Where(Item("&Open", menu_bits::kDefault, {}), palette.text).size(),
              Where(Item("&Open", 0, {}), palette.text).size())
        << "the default item is bold";
}

// A highlighted item's text takes the highlight's text colour, unless it is the open tab of the
// menu bar or in an inactive window; here the two colours differ, as in high contrast.
TEST_F(MenuTextTest, EachStateDrawsItsTextInItsColour) {
    colors.highContrast = true;
    colors.menu = Rgb(0, 0, 0);
    colors.menuText = Rgb(255, 255, 255);
    colors.highlight = Rgb(0, 0, 160);
    colors.highlightText = Rgb(255, 255, 0);
    colors.grayText = Rgb(0, 255, 0);
    const MenuPalette p = MenuPalette::From(colors);
    const struct {
        MenuItemDrawState draw;
        Color ink;
    } cases[] = {
        {{}, p.text},
        {{.selected = true}, p.hotText},
        {{.hotLight = true}, p.hotText},
        {{.hotLight = true, .inactive = true}, p.inactiveText},
        {{.menuBar = true}, p.text},
        {{.selected = true, .menuBar = true}, p.text},
        {{.selected = true, .menuBar = true, .hotLight = true}, p.text},
        {{.menuBar = true, .hotLight = true}, p.hotText},
    };
    for (const auto& k : cases) {
        const Rect rect = k.draw.menuBar ? Rect{0, 0, 44, 19} : Rect{0, 0, 140, 20};
        const QRect text(3, 3, rect.right - 14, 13);
        const QImage image = Item("&Open", 0, k.draw, rect);
        EXPECT_FALSE(Where(image, k.ink, text).empty()) << &k - cases;
        for (const Color other : {p.text, p.hotText, p.inactiveText}) {
            if (other != k.ink) {
                EXPECT_TRUE(Where(image, other, text).empty()) << &k - cases;
            }
        }
    }
}

TEST_F(MenuTextTest, TheUnderlineIsHiddenOnlyWithoutKeyboardCuesOnANoAccelItem) {
    const QImage plain = Item("Exit", 0, {});
    EXPECT_EQ(Item("E&xit", 0, {.noAccel = true, .keyboardCues = false}), plain);
    EXPECT_NE(Item("E&xit", 0, {.noAccel = true}), plain);
    EXPECT_NE(Item("E&xit", 0, {.keyboardCues = false}), plain);
}

TEST_F(MenuTextTest, AMenuBarItemCentresItsTextLeftOfTheStrip) {
    const auto [left, right] =
        Columns(Where(Item("&Help", 0, {.menuBar = true}, {0, 0, 44, 19}), palette.text));
    EXPECT_NEAR((left + right + 1) / 2.0, 20.0, 1.5);
    // Exactly as the canvas centres it between the item's left and the strip, for either parity.
    for (const int width : {44, 45}) {
        const auto alone = Painted({width, 19}, [&](Canvas& c) {
            c.DrawText("&Help", {0, 0, width - 4, 19},
                       TextFlags::kCenter | TextFlags::kVCenter | TextFlags::kSingleLine,
                       Rgb(255, 255, 255));
        });
        EXPECT_EQ(Where(Item("&Help", 0, {.menuBar = true}, {0, 0, width, 19}), palette.text),
                  Where(alone, Rgb(255, 255, 255)))
            << width;
    }
}

TEST(QtCanvasTextTest, FontsMeasuresAndPlacedText) {
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(painter, Fonts());
    canvas.SetFont({});
    const Size help = canvas.GetTextExtent("Help");
    EXPECT_EQ(canvas.GetFontHeight(), help.height);
    EXPECT_EQ(canvas.MeasureText("&Help", TextFlags::kSingleLine), help);
    EXPECT_EQ(canvas.MeasureText("Fish &&Chips", 0), canvas.GetTextExtent("Fish &Chips"));
    EXPECT_GT(canvas.MeasureText("&Help", TextFlags::kNoPrefix).width, help.width);
    canvas.SetFont({FontFace::kGui, kWeightBold});
    EXPECT_TRUE(painter.font().bold());
    EXPECT_EQ(canvas.GetFont(), (CanvasFont{FontFace::kGui, kWeightBold}));
    canvas.SetFont({FontFace::kSystem, kWeightBold});
    EXPECT_GT(canvas.GetFontHeight(), help.height);

    canvas.SetFont({});
    canvas.DrawTextAt({10, 5}, "&&H", Rgb(0, 0, 0));
    painter.end();
    const auto ink = Where(image, Rgb(0, 0, 0));
    ASSERT_FALSE(ink.empty());
    int top = 1 << 20;
    for (auto [x, y] : ink) top = std::min(top, y);
    EXPECT_GE(top, 5) << "the text's cell starts at the point";
    EXPECT_LE(top, 5 + help.height / 2);
}

}  // namespace
