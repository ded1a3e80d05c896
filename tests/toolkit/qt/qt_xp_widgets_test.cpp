// The flat push button and the flat menus as Qt widgets, offscreen: their state as the toolkit
// sees it, their measures and what they paint.
#include <gtest/gtest.h>

#include <QActionGroup>
#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <memory>

#include "tests/support/qt/qt_test_environment.h"
#include "toolkit/hls_color.h"
#include "toolkit/menu_item_xp.h"
#include "toolkit/menu_xp.h"
#include "toolkit/owner_draw.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_menu_access.h"
#include "toolkit/qt/qt_menu_xp.h"
#include "toolkit/qt/qt_menu_xp_style.h"
#include "toolkit/qt/qt_system_colors.h"
#include "toolkit/qt/qt_xp_button.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    AddQtTestEnvironment<QApplication>([] {
        QFont font("NanumGothic");
        font.setPixelSize(12);
        QApplication::setFont(font);
    });

Color PixelAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return Rgb(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
               static_cast<std::uint8_t>(qBlue(p)));
}

TEST(QtXPButtonTest, ItsStateAndHoverFollowTheButtonAndTheMouse) {
    QtXPButton button("Start");
    button.resize(70, 21);
    EXPECT_EQ(button.State(), 0u);
    button.setDefault(true);
    button.setDown(true);
    EXPECT_EQ(button.State(), ods::kDefault | ods::kSelected);
    button.setDown(false);
    button.setEnabled(false);
    EXPECT_EQ(button.State(), ods::kDefault | ods::kDisabled);
    button.setEnabled(true);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.Look().IsHover());
    QImage shown = button.grab().toImage();
    EXPECT_EQ(PixelAt(shown, 1, 5), CXPButton::kHoverFrame.left.color);
    EXPECT_EQ(PixelAt(shown, 4, 1), CXPButton::kHoverFrame.top.color);
    EXPECT_EQ(PixelAt(shown, 0, 0), CXPButton::kGround);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.Look().IsHover() || button.Look().IsTracking());
    shown = button.grab().toImage();
    EXPECT_EQ(PixelAt(shown, 1, 5), CXPButton::kInside) << "no frame once the mouse has left";
    EXPECT_EQ(PixelAt(shown, 30, 2), CXPButton::GradientColor(7, false, true)) << "default";
}

class QtMenuXPTest : public ::testing::Test {
protected:
    void SetUp() override {
        CMenuXP::ClearTables();
        menu = std::make_unique<QtMenuXP>();
        for (auto [text, id] : {std::pair{"&Open", 32779},
                                {"&About Drovane...", 57664},
                                {"", 0},
                                {"&Start", 131},
                                {"S&top", 132},
                                {"", 0},
                                {"E&xit", 32778}}) {
            if (id == 0) {
                menu->addSeparator();
            } else {
                menu->addAction(text)->setData(id);
            }
        }
        menu->setDefaultAction(menu->actions()[0]);
    }
    QAction* Item(int position) { return menu->actions()[position]; }
    int FontHeight() {
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainter painter(&probe);
        QtCanvas canvas(painter);
        canvas.SetFont({});
        return canvas.GetFontHeight();
    }

    std::unique_ptr<QtMenuXP> menu;
};

TEST_F(QtMenuXPTest, OpeningConvertsAndMeasuresItsItemsThroughTheToolkit) {
    emit menu->aboutToShow();
    const std::uint32_t data = QtMenuAccess::ItemData(Item(0));
    EXPECT_EQ(data & 0xFF, static_cast<std::uint32_t>(CMenuXP::ItemHeight(FontHeight())));
    EXPECT_EQ((data >> 8) & 0xFF, 0u) << "no accelerators";
    for (int i : {1, 3, 4, 6}) EXPECT_EQ(QtMenuAccess::ItemData(Item(i)), data) << i;
    EXPECT_EQ(QtMenuAccess::ItemData(Item(2)),
              static_cast<std::uint32_t>(CMenuXP::SeparatorHeight(FontHeight())));
    EXPECT_TRUE(CMenuXP::IsOwnerDrawnMenu(*std::make_unique<QtMenuAccess>(),
                                          QtMenuAccess::Handle(menu.get())));

    // The window: the widest item with its margins, inside a frame of 3, and no room for a
    // shadow, as the desktop counts as compositing offscreen (it does not let us read the screen).
    const Size item = CMenuXP::MeasureItem(data);
    EXPECT_EQ(menu->sizeHint().width(), item.width + 6);
    EXPECT_EQ(menu->sizeHint().height(),
              5 * item.height + 2 * CMenuXP::SeparatorHeight(FontHeight()) + 6);
}

TEST_F(QtMenuXPTest, TheToolkitReadsQtsStateAsMenuItemBits) {
    QActionGroup group(nullptr);
    Item(3)->setCheckable(true);
    Item(3)->setChecked(true);
    group.addAction(Item(3));
    Item(4)->setEnabled(false);
    QtMenuAccess menus;
    const MenuHandle handle = QtMenuAccess::Handle(menu.get());
    MenuItemInfo info;
    std::string text;
    ASSERT_TRUE(menus.ReadItem(handle, 3, true, info, &text));
    EXPECT_EQ(info.fType, menu_bits::kRadioCheck);
    EXPECT_EQ(info.fState, menu_bits::kChecked);
    EXPECT_EQ(info.wID, 131u);
    EXPECT_EQ(text, "&Start");
    ASSERT_TRUE(menus.ReadItem(handle, 132, false, info, nullptr));
    EXPECT_EQ(info.fState, menu_bits::kGrayed);
    ASSERT_TRUE(menus.ReadItem(handle, 0, true, info, nullptr));
    EXPECT_EQ(info.fState, menu_bits::kDefault);
    ASSERT_TRUE(menus.ReadItem(handle, 0, false, info, nullptr));
    EXPECT_EQ(info.fType, menu_bits::kSeparator) << "identifier 0 finds the first separator";
    EXPECT_FALSE(menus.ReadItem(handle, 99, true, info, nullptr));
    EXPECT_TRUE(menus.IsMenu(handle));
    const MenuHandle gone = QtMenuAccess::Handle(menu.get());
    menu.reset();
    EXPECT_FALSE(menus.IsMenu(gone));
}

TEST_F(QtMenuXPTest, ALetterRunsTheItemItMarksAndPaintingFramesTheWindow) {
    int exit = 0, stop = 0, start = 0, snooze = 0;
    QObject::connect(Item(6), &QAction::triggered, [&] { ++exit; });
    QObject::connect(Item(4), &QAction::triggered, [&] { ++stop; });
    QObject::connect(Item(3), &QAction::triggered, [&] { ++start; });
    // A second item marking 's': the first one runs at once (Qt's menus would only select it).
    QObject::connect(menu->addAction("&Snooze"), &QAction::triggered, [&] { ++snooze; });
    menu->popup(QPoint(20, 20));
    ASSERT_TRUE(menu->isVisible());
    const QImage shown = menu->grab().toImage();
    const SystemColors colors = QtSystemColors();
    EXPECT_EQ(PixelAt(shown, 0, 0), colors.darkShadow);
    EXPECT_EQ(PixelAt(shown, shown.width() - 1, shown.height() - 1), colors.darkShadow);
    EXPECT_EQ(PixelAt(shown, 1, 1), HLSTransform(colors.buttonFace, 75, 0));
    EXPECT_EQ(PixelAt(shown, 2, 20), HLSTransform(colors.buttonFace, 75, 0));
    const int separator =
        3 + 2 * CMenuXP::ItemHeight(FontHeight()) + CMenuXP::SeparatorHeight(FontHeight()) / 2;
    EXPECT_EQ(PixelAt(shown, 3 + 30, separator), HLSTransform(colors.buttonFace, -18, 0));
    EXPECT_EQ(PixelAt(shown, 3 + 10, separator), HLSTransform(colors.buttonFace, 20, 0))
        << "the band, in the menu's client coordinates";

    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(menu.get(), &x);
    EXPECT_EQ(exit, 1);
    EXPECT_EQ(stop, 0);
    EXPECT_FALSE(menu->isVisible());

    menu->popup(QPoint(20, 20));
    QKeyEvent s(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, "s");
    QApplication::sendEvent(menu.get(), &s);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(snooze + stop, 0);
}

TEST(FlatMenuBarTest, ItemsMeasureTheirTextWithTheWindowSystemsSpacing) {
    CMenuXP::ClearTables();
    QtMenuBarXP bar;
    auto* file = new QtMenuXP("&File", &bar);
    bar.addMenu(file);
    bar.Convert();
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    QtCanvas canvas(painter);
    canvas.SetFont({});
    const int text = canvas.MeasureText("&File", TextFlags::kSingleLine).width;
    EXPECT_EQ(QtMenuAccess::ItemData(bar.actions()[0]), static_cast<std::uint32_t>(text) << 16);
    EXPECT_EQ(bar.actionGeometry(bar.actions()[0]).width(),
              text + 4 + QtMenuXPStyle::kMenuBarItemSpacing);
    EXPECT_EQ(bar.sizeHint().height(), CMenuXP::ItemHeight(canvas.GetFontHeight()));
    std::string title;
    CMenuItemXP(*std::make_unique<QtMenuAccess>(), QtMenuAccess::Handle(&bar),
                QtMenuAccess::Command(bar.actions()[0]), false)
        .GetText(title);
    EXPECT_EQ(title, "&File") << "found by its pop-up";
}

}  // namespace
