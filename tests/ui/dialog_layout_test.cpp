#include "ui/dialog_layout.h"

#include <gtest/gtest.h>

#include <utility>

#include "ui/dialog_ids.h"
#include "ui/dialog_painter.h"
#include "ui/repeller_dialog.h"

namespace {

TEST(DialogLayoutTest, TemplateConvertsWithTheNinePointDialogUnits) {
    EXPECT_EQ(layout::ClientPixels(), (Size{331, 323}));
    // 1.6 and 1.5 pixels a unit, rounded half away from zero: at these values truncating, or
    // rounding half to even, would give other pixels.
    const int horizontal[] = {0, 2, 3, 5, 6, 8, 10, 11};
    const int vertical[] = {0, 2, 3, 5, 6, 8, 9, 11};
    for (int dlu = 0; dlu < 8; ++dlu) {
        EXPECT_EQ(layout::HorizontalPixels(dlu), horizontal[dlu]) << dlu;
        EXPECT_EQ(layout::VerticalPixels(dlu), vertical[dlu]) << dlu;
        EXPECT_EQ(layout::HorizontalPixels(-dlu), -horizontal[dlu]) << -dlu;
        EXPECT_EQ(layout::VerticalPixels(-dlu), -vertical[dlu]) << -dlu;
    }
    // A control's right and bottom edges are converted where they lie, not as left plus width:
    // Start's left edge 7 becomes 11 and its right edge 51 becomes 82 (11 + 70 would be 81).
    EXPECT_EQ(layout::ToPixels(*layout::FindControl(ids::kStart)), (Rect{11, 173, 82, 194}));
    EXPECT_EQ(layout::ToPixels(*layout::FindControl(ids::kClose)), (Rect{248, 173, 318, 194}));
    EXPECT_EQ(layout::ToPixels(*layout::FindControl(ids::kFrequency1)), (Rect{80, 218, 128, 236}));
    EXPECT_EQ(layout::ToPixels(*layout::FindControl(ids::kNotice)), (Rect{27, 113, 320, 144}));
}

TEST(DialogLayoutTest, FoldHidesExactlyTheSettingsArea) {
    const int compact = layout::ClientPixels().height - CRepellerDialog::kInitialDetailsHeight;
    const Rect settingsLabel = layout::ToPixels(*layout::FindControl(ids::kSoundSettingsLabel));
    EXPECT_EQ(settingsLabel.top, compact);
    for (int id : {ids::kStart, ids::kStop, ids::kDetails, ids::kClose, ids::kRunAtLogon}) {
        EXPECT_LE(layout::ToPixels(*layout::FindControl(id)).bottom, compact) << id;
    }
    for (int id : {ids::kSet, ids::kDefault, ids::kTestSound, ids::kStopTest, ids::kFrequency1,
                   ids::kStep}) {
        EXPECT_GE(layout::ToPixels(*layout::FindControl(id)).top, compact) << id;
    }
}

TEST(DialogLayoutTest, EtchedLinesRunJustRightOfTheSectionLabels) {
    const Rect settings = layout::ToPixels(*layout::FindControl(ids::kSoundSettingsLabel));
    const Rect test = layout::ToPixels(*layout::FindControl(ids::kSoundTestLabel));
    EXPECT_EQ(settings.right, 80);
    EXPECT_TRUE(settings.top < 205 && 206 < settings.bottom);
    EXPECT_EQ(test.right, 155);
    EXPECT_TRUE(test.top < 274 && 275 < test.bottom);
}

// Screen readers name an edit after the label just before it in the window order.
TEST(DialogLayoutTest, EachEditComesRightAfterTheLabelThatNamesIt) {
    const std::pair<int, int> named[] = {{ids::kFrequency1, ids::kFrequencyLabel},
                                         {ids::kFrequency2, ids::kToLabel},
                                         {ids::kDelay, ids::kDelayLabel},
                                         {ids::kStep, ids::kStepLabel}};
    const auto controls = layout::Controls();
    for (const auto& [edit, label] : named) {
        const layout::Control* c = layout::FindControl(edit);
        ASSERT_NE(c, nullptr);
        ASSERT_NE(c, controls.data());
        EXPECT_EQ((c - 1)->id, label) << edit;
    }
}

TEST(DialogLayoutTest, ControlsWithIdsAreUniqueAndFound) {
    int withId = 0;
    for (const layout::Control& c : layout::Controls()) {
        if (c.id == 0) continue;
        ++withId;
        EXPECT_EQ(layout::FindControl(c.id), &c);
    }
    EXPECT_EQ(withId, 23);
    EXPECT_EQ(layout::FindControl(0), nullptr);
}

}  // namespace

// Korean for any Korean locale or language name, English for every other, Konkani ("kok") too.
TEST(DialogLayoutTest, LanguageOfALocaleName) {
    const std::pair<std::string_view, UiLanguage> cases[] = {
        {"ko", UiLanguage::Korean},      {"ko_KR.UTF-8", UiLanguage::Korean},
        {"ko-KR", UiLanguage::Korean},   {"ko.UTF-8", UiLanguage::Korean},
        {"kok_IN", UiLanguage::English}, {"en_US.UTF-8", UiLanguage::English},
        {"C", UiLanguage::English},      {"", UiLanguage::English},
    };
    for (const auto& [name, language] : cases) EXPECT_EQ(LanguageOf(name), language) << name;
}
