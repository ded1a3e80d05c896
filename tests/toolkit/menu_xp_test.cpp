// The menu toolkit's conversion, measuring and mnemonics, over menus kept in memory and a canvas
// whose font is 6 pixels a character (7 in bold) and 13 pixels high.
#include "toolkit/menu_xp.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/memory_surface.h"
#include "tests/toolkit/fake_menus.h"
#include "toolkit/font_scope.h"
#include "toolkit/menu_item_xp.h"
#include "toolkit/menu_wnd_xp.h"
#include "toolkit/owner_draw.h"

namespace {

using namespace menu_bits;

class MenuXPTest : public ::testing::Test {
protected:
    void SetUp() override { CMenuXP::ClearTables(); }
    void TearDown() override { CMenuXP::ClearTables(); }

    std::uint32_t Data(MenuHandle menu, unsigned position) {
        return menus.Items(menu)[position].info.dwItemData;
    }
    // The File menu of the main window, as its resource has it.
    MenuHandle FileMenu() {
        const MenuHandle file = menus.Create();
        menus.Add(file, "&Start", 131);
        menus.Add(file, "S&top", 132);
        menus.Add(file, "", 0);
        menus.Add(file, "Test Sound", 3);
        menus.Add(file, "Stop Test", 4);
        menus.Add(file, "", 0);
        menus.Add(file, "E&xit", 32778);
        return file;
    }

    FakeMenus menus;
    MemorySurface measure{{1, 1}};
};

TEST_F(MenuXPTest, APopupPacksItsWidestTextAndAcceleratorIntoEveryItem) {
    const MenuHandle popup = menus.Create();
    menus.Add(popup, "&Open\tCtrl+O", 1);
    menus.Add(popup, "Save &All", 2);  // the widest text: 8 characters without its '&'
    menus.Add(popup, "", 0);
    menus.Add(popup, "E&xit", 3);
    const CanvasFont bold{FontFace::kGui, kWeightBold};
    measure.SetFont(bold);  // measured in the menu's own font all the same
    CMenuXP::ConvertMenu(menus, popup, true, false, measure);

    const std::uint32_t item = (48u << 16) | (36u << 8) | 20u;
    for (unsigned i : {0u, 1u, 3u}) {
        EXPECT_EQ(Data(popup, i), item) << i;
        EXPECT_EQ(CMenuXP::MeasureItem(Data(popup, i)), (Size{48 + 36 + 42, 20})) << i;
        EXPECT_TRUE(menus.Items(popup)[i].info.fType & kOwnerDraw) << i;
    }
    EXPECT_EQ(Data(popup, 2), 8u);
    EXPECT_EQ(CMenuXP::MeasureItem(Data(popup, 2)), (Size{42, 8})) << "separators are 42 x 8";
    EXPECT_EQ(measure.GetFont(), bold) << "the measuring font is put back";
}

TEST_F(MenuXPTest, TheFileMenuHasNoAcceleratorColumnAndFontHeightsGiveItemHeights) {
    const MenuHandle file = FileMenu();
    CMenuXP::ConvertMenu(menus, file, true, false, measure);
    EXPECT_EQ(CMenuXP::MeasureItem(Data(file, 0)), (Size{10 * 6 + 42, 20})) << "'Test Sound'";
    EXPECT_EQ(CMenuXP::MeasureItem(Data(file, 5)), (Size{42, 8}));

    EXPECT_EQ(CMenuXP::ItemHeight(13), 20);
    EXPECT_EQ(CMenuXP::ItemHeight(14), 20);
    EXPECT_EQ(CMenuXP::ItemHeight(15), 21);
    EXPECT_EQ(CMenuXP::SeparatorHeight(13), 8);
    EXPECT_EQ(CMenuXP::SeparatorHeight(14), 9);

    // Measured again on every opening, with the font of the time; converted only once.
    menus.Items(file)[3].text = "A much longer text now";
    measure.fontHeight = 15;
    CMenuXP::ConvertMenu(menus, file, true, false, measure);
    EXPECT_EQ(CMenuXP::MeasureItem(Data(file, 0)), (Size{10 * 6 + 42, 21}))
        << "the remembered text was kept, the height follows the font";
    EXPECT_EQ(CMenuXP::MeasureItem(Data(file, 2)), (Size{42, 9}));

    const MenuHandle other = FileMenu();
    CMenuXP::ConvertMenu(menus, other, false, false, measure);
    EXPECT_EQ(Data(other, 0), 0u) << "a window that takes no part converts nothing";
    EXPECT_FALSE(CMenuXP::IsOwnerDrawnMenu(menus, other));
}

TEST_F(MenuXPTest, MenuBarItemsCarryTheWidthOfTheirTextAsDrawn) {
    const MenuHandle file = FileMenu();
    const MenuHandle bar = menus.Create();
    menus.Add(bar, "&File", 0, 0, 0, file);
    menus.Add(bar, "&Help", 0, 0, 0, menus.Create());
    menus.Add(bar, "logo", 7, kBitmap);
    measure.SetFont({FontFace::kGui, kWeightBold});  // measured in the menu's own font all the same
    // The pop-ups' items have no command: an image for command 0 is filed by the pop-up.
    struct : CommandImages {
        ImageStrip strip;
        std::optional<MenuImage> Find(unsigned command) const override {
            if (command != 0) return std::nullopt;
            return MenuImage{&strip, 0};
        }
    } images;
    CMenuXP::ConvertMenu(menus, bar, true, true, measure, &images);
    const auto image = [&](unsigned i) { return CMenuItemXP(menus, bar, i, true).HasImage(); };
    EXPECT_TRUE(image(0));
    EXPECT_EQ(Data(bar, 1), 24u << 16);
    EXPECT_EQ(CMenuXP::MeasureItem(Data(bar, 1)), (Size{24 + 4, 0}))
        << "height 0: the system uses the menu bar's";
    EXPECT_FALSE(menus.Items(bar)[2].info.fType & kOwnerDraw) << "bitmaps in a bar stay";

    const MenuHandle popup = menus.Create();
    menus.Add(popup, "logo", 7, kBitmap);
    CMenuXP::ConvertMenu(menus, popup, true, false, measure);
    EXPECT_TRUE(menus.Items(popup)[0].info.fType & kOwnerDraw) << "bitmaps in a pop-up convert";

    // Filed by the pop-up they open; a destroyed pop-up's text is dropped at the next conversion.
    std::string text;
    CMenuItemXP(menus, bar, 0, true).GetText(text);
    EXPECT_EQ(text, "&File");
    menus.Destroy(file);
    CMenuXP::ConvertMenu(menus, popup, true, false, measure);
    CMenuItemXP(menus, bar, 0, true).GetText(text);
    EXPECT_EQ(text, "");
    EXPECT_FALSE(image(0)) << "nor its image";
    // Cleared, the tables know nothing.
    CMenuXP::ClearTables();
    EXPECT_FALSE(image(1));
    CMenuItemXP(menus, bar, 1, true).GetText(text);
    EXPECT_EQ(text, "");
    CMenuItemXP(menus, popup, 0, true).GetText(text);
    EXPECT_EQ(text, "");
}

TEST_F(MenuXPTest, TheDefaultItemIsMeasuredInBold) {
    const MenuHandle popup = menus.Create();
    menus.Add(popup, "&Open\tEnter", 1, 0, kDefault);
    menus.Add(popup, "Exit", 2);
    CMenuXP::ConvertMenu(menus, popup, true, false, measure);
    EXPECT_EQ(Data(popup, 1), (28u << 16) | (35u << 8) | 20u);
}

TEST_F(MenuXPTest, TextsSplitAtTheFirstTabAndOneCommandKeepsOneText) {
    const MenuHandle a = menus.Create();
    menus.Add(a, "X\tCtrl+X\tmore", 5);
    const MenuHandle b = menus.Create();
    menus.Add(b, std::string(300, 'w'), 6);
    menus.Add(b, "Later", 5);
    CMenuXP::ConvertMenu(menus, a, true, false, measure);
    std::string text, accelerator;
    const CMenuItemXP x(menus, a, 5, false);
    EXPECT_EQ(x.GetText(text), 1);
    EXPECT_EQ(x.GetAccelerator(accelerator), 11);
    EXPECT_EQ(accelerator, "Ctrl+X\tmore");

    CMenuXP::ConvertMenu(menus, b, true, false, measure);
    CMenuItemXP(menus, a, 0, true).GetText(text);
    EXPECT_EQ(text, "Later") << "the item converted last files the command's text";
    EXPECT_EQ(CMenuItemXP(menus, b, 6, false).GetText(text), 255);
}

TEST_F(MenuXPTest, PredicatesAreBitTests) {
    const MenuHandle m = menus.Create();
    menus.Add(m, "a", 1, kRadioCheck, kChecked | kDefault);
    menus.Add(m, "b", 2, 0, 0);
    menus.Add(m, "c", 3, 0, kGrayed);
    menus.Add(m, "d", 4, 0, 0x1);  // MF_GRAYED alone, as the system menu greys its items
    menus.Add(m, "e", 5, 0, 0x2);  // MF_DISABLED alone
    const CMenuItemXP a(menus, m, 0, true), b(menus, m, 1, true), c(menus, m, 2, true);
    EXPECT_TRUE(a.IsRadioCheck() && a.IsChecked() && a.IsDefault() && !a.IsDisabled());
    EXPECT_FALSE(b.IsDisabled() || b.IsChecked() || b.IsRadioCheck() || b.IsDefault());
    EXPECT_TRUE(c.IsDisabled());
    for (int i : {3, 4}) EXPECT_TRUE(CMenuItemXP(menus, m, i, true).IsDisabled()) << i;
    const CMenuItemXP missing(menus, m, 99, false);
    std::string text;
    EXPECT_EQ(missing.GetText(text), 0) << "a missing item reads as an empty one";
    EXPECT_EQ(missing.GetTextWidth(measure), 0);
    EXPECT_FALSE(missing.IsSeparator() || missing.IsRadioCheck() || missing.IsChecked() ||
                 missing.IsDefault() || missing.IsDisabled());
    EXPECT_FALSE(CMenuXP::IsOwnerDrawnMenu(menus, m));
    CMenuXP::ConvertMenu(menus, m, true, false, measure);
    EXPECT_TRUE(CMenuXP::IsOwnerDrawnMenu(menus, m));
}

TEST_F(MenuXPTest, MenuCharactersFindTheMarkedItem) {
    const MenuHandle tray = menus.Create();
    for (const char* t : {"&Open", "&About Drovane...", "", "&Start", "S&top", "", "E&xit"}) {
        menus.Add(tray, t, *t ? 100 + static_cast<unsigned>(menus.GetItemCount(tray)) : 0);
    }
    menus.Add(tray, "Fish &&Chips", 200);
    menus.Add(tray, "파일(&F)", 201);
    menus.Add(tray, "Last&", 202);
    menus.Add(tray, "&Émettre", 203);  // marks of two, three and four bytes
    menus.Add(tray, "&파일", 204);
    menus.Add(tray, "&😀", 205);
    menus.Add(tray, "&zoom", 206);
    CMenuXP::ConvertMenu(menus, tray, true, false, measure);

    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'x', kPopup), 0x00020006u);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'X', kPopup), 0x00020006u);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'x', 0), 0x00020006u);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'x', kPopup | kSysMenu), 0u);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'x', kSysMenu), 0u);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U't', kPopup), 0x00020004u);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'c', kPopup), 0u) << "'&&' marks nothing";
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'f', kPopup), 0x00020008u);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'q', kPopup), 0u);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'a', kPopup), 0x00020001u);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'z', kPopup), 0x0002000Du);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'É', kPopup), 0x0002000Au);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'é', kPopup), 0u) << "ASCII letters only fold";
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'파', kPopup), 0x0002000Bu);
    EXPECT_EQ(CMenuXP::FindMnemonic(menus, tray, U'😀', kPopup), 0x0002000Cu);
}

TEST_F(MenuXPTest, DrawItemPaintsMenuItemsOnlyAndCountsThem) {
    const MenuHandle file = FileMenu();
    CMenuXP::ConvertMenu(menus, file, true, false, measure);
    MemorySurface buffer({120, 20}, Rgb(1, 2, 3));
    DrawItemRecord record{4, 131, 0, file, {0, 0, 120, 20}, Data(file, 0)};  // ODT_BUTTON
    CMenuXP::ms_nDrawCount = 255;
    EXPECT_FALSE(CMenuXP::DrawItem(record, menus, buffer, {}));
    EXPECT_EQ(buffer.GetPixel({60, 10}), Rgb(1, 2, 3));
    EXPECT_EQ(CMenuXP::ms_nDrawCount, 255);

    record.ctlType = kMenuControl;
    bool open = true;
    const CanvasFont system{FontFace::kSystem, kWeightBold};
    buffer.SetFont(system);
    EXPECT_TRUE(CMenuXP::DrawItem(record, menus, buffer, {}, true, &open));
    EXPECT_FALSE(open);
    EXPECT_EQ(CMenuXP::ms_nDrawCount, 0) << "the count wraps";
    ASSERT_EQ(buffer.texts.size(), 1u);
    EXPECT_EQ(buffer.texts[0].text, "&Start") << "found by command, not by position";
    EXPECT_EQ(buffer.texts[0].font, (CanvasFont{})) << "in the menu's own font";
    EXPECT_EQ(buffer.GetFont(), system) << "which is put back";

    // An open menu-bar item of a dialog: its tab goes to the screen, one pixel further right,
    // with the first item's top and bottom.
    record.itemData = 0;
    record.itemState = ods::kSelected;
    record.rcItem = {10, 0, 50, 19};
    EXPECT_TRUE(CMenuXP::DrawItem(record, menus, buffer, {}, true, &open));
    EXPECT_TRUE(open);
    EXPECT_EQ(CMenuXP::ms_rcMenuBarItem, (Rect{10, 0, 46, 19}));
    CMenuXP::PlaceMenuBarItem({200, 130}, {203, 111, 240, 130}, true);
    EXPECT_EQ(CMenuXP::ms_rcMenuBarItem, (Rect{211, 111, 247, 130}));
}

TEST_F(MenuXPTest, EveryOwnerDrawBitOfTheRecordReachesTheItemsLook) {
    const MenuHandle file = FileMenu();
    CMenuXP::ConvertMenu(menus, file, true, false, measure);
    const MenuPalette palette = MenuPalette::From({});
    struct Case {
        unsigned state;
        bool menuBar;
        bool cues;
        Color edge;  // the item's left edge, half-way down
        Color text;
        bool prefixHidden;
    };
    const Case cases[] = {
        {0, false, true, palette.band, palette.text, false},
        {ods::kSelected, false, true, palette.frame, palette.hotText, false},
        {ods::kInactive, false, true, palette.band, palette.inactiveText, false},
        {ods::kNoAccel, false, false, palette.band, palette.text, true},
        {ods::kNoAccel, false, true, palette.band, palette.text, false},
        {0, true, true, palette.face, palette.text, false},
        {ods::kHotLight, true, true, palette.frame, palette.hotText, false},
        {ods::kHotLight | ods::kInactive, true, true, palette.face, palette.inactiveText, false},
        {ods::kGrayed, false, true, palette.band, palette.disabledText, false},
        {ods::kDisabled, false, true, palette.band, palette.disabledText, false},
        {ods::kSelected | ods::kDisabled, false, true, palette.frame, palette.disabledText, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << (c.menuBar ? " menu bar" : ""));
        MemorySurface buffer({120, 20});
        const DrawItemRecord record{
            kMenuControl, 131, c.state, file, {0, 0, 120, 20}, c.menuBar ? 0 : Data(file, 0)};
        ASSERT_TRUE(CMenuXP::DrawItem(record, menus, buffer, {}, c.cues));
        EXPECT_EQ(buffer.GetPixel({0, 10}), c.edge);
        ASSERT_EQ(buffer.texts.size(), 1u);
        EXPECT_EQ(buffer.texts[0].color, c.text);
        EXPECT_EQ((buffer.texts[0].flags & TextFlags::kHidePrefix) != 0, c.prefixHidden);
    }
}

TEST(MenuHookTest, NestedInstallsLeaveOneHookUntilTheLastRemove) {
    MenuHookCount hook;
    bool installed = false;
    EXPECT_TRUE(hook.Install(installed));
    installed = true;
    EXPECT_FALSE(hook.Install(installed)) << "a second install installs nothing";
    EXPECT_FALSE(hook.Remove());
    EXPECT_TRUE(hook.Remove()) << "the second remove removes it";
    installed = false;
    EXPECT_FALSE(hook.Remove()) << "a third does nothing";
    EXPECT_EQ(hook.Count(), 0);
    EXPECT_TRUE(hook.Install(installed)) << "and a new install installs a new hook";
}

// The menu grows for its shadow after the system placed it: near the screen's corner (the tray's
// menu) it is moved back inside the work area.
TEST(MenuWindowTest, AMenuGrownForItsShadowStaysInsideTheWorkArea) {
    const Rect work{0, 0, 1024, 738};
    const struct {
        CMenuWndXP::WindowPos placed;
        Rect area;
        CMenuWndXP::WindowPos grown;
    } cases[] = {
        {{924, 678, 100, 60}, work, {920, 674, 104, 64}},  // in the corner above the taskbar
        {{100, 100, 100, 60}, work, {100, 99, 104, 64}},   // inside: only grown and lifted
        {{0, 0, 100, 60}, work, {0, 0, 104, 64}},          // at the top: not lifted off it
        {{50, 100, 100, 60}, {100, 0, 1024, 738}, {100, 99, 104, 64}},  // left of it: moved in
        {{924, 678, 100, 60}, {}, {924, 677, 104, 64}},  // no work area known: as placed
        {{924, 678, 100, 60}, {0, 0, 0, 738}, {924, 677, 104, 64}},   // nor without a width
        {{924, 678, 100, 60}, {0, 0, 1024, 0}, {924, 677, 104, 64}},  // or a height
    };
    for (const auto& c : cases) {
        CMenuWndXP menu(true);
        CMenuWndXP::WindowPos pos = c.placed;
        menu.OnWindowPosChanging(pos, c.area);
        EXPECT_EQ(std::vector<int>({pos.x, pos.y, pos.cx, pos.cy}),
                  std::vector<int>({c.grown.x, c.grown.y, c.grown.cx, c.grown.cy}))
            << c.placed.x << "," << c.placed.y;
    }
}

TEST(MenuHookTest, WindowsVersionsAndWhoDrawsShadows) {
    EXPECT_EQ(WinVersionCode(2, 5, 1), 8);  // XP
    EXPECT_EQ(WinVersionCode(2, 5, 0), 7);  // 2000
    EXPECT_EQ(WinVersionCode(2, 5, 2), 5);  // Server 2003
    EXPECT_EQ(WinVersionCode(2, 6, 1), 5);
    EXPECT_EQ(WinVersionCode(2, 4, 0), 6);
    EXPECT_EQ(WinVersionCode(0, 3, 10), 1);
    EXPECT_EQ(WinVersionCode(1, 4, 10), 3);
    EXPECT_EQ(WinVersionCode(1, 4, 90), 4);
    EXPECT_EQ(WinVersionCode(1, 4, 0), 2);
    // The toolkit's shadow only where the system draws none: never two.
    EXPECT_FALSE(DrawsMenuShadows(8, false)) << "XP shadows its menus itself";
    EXPECT_TRUE(DrawsMenuShadows(5, false));
    EXPECT_FALSE(DrawsMenuShadows(5, true)) << "\"show shadows under menus\" is on";
    EXPECT_TRUE(DrawsMenuShadows(0, false)) << "an unknown version gets the toolkit's shadows";
}

// The bold or normal font of a default item changes the canvas's font only when the wish and the
// weight disagree, and puts back exactly the font it found.
TEST(BoldFontTest, ChangesTheWeightOnlyAgainstTheWishAndPutsTheFontBack) {
    const struct {
        int weight;
        bool bold;
        int inside;
    } cases[] = {{kWeightNormal, true, kWeightBold},
                 {kWeightBold, false, kWeightNormal},
                 {kWeightBold, true, kWeightBold},
                 {600, false, 600},
                 {600, true, kWeightBold}};
    for (const auto& c : cases) {
        MemorySurface canvas{{1, 1}};
        const CanvasFont before{FontFace::kSystem, c.weight};
        canvas.SetFont(before);
        {
            const BoldFont scope(canvas, c.bold);
            EXPECT_EQ(canvas.GetFont(), (CanvasFont{FontFace::kSystem, c.inside})) << c.weight;
        }
        EXPECT_EQ(canvas.GetFont(), before) << c.weight << " " << c.bold;
    }
}

}  // namespace
