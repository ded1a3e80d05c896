#include "ui/dialog_layout.h"

#include <gtest/gtest.h>

#include "ui/dialog_ids.h"
#include "ui/dialog_painter.h"
#include "ui/repeller_dialog.h"

namespace {

TEST(DialogLayoutTest, TemplateConvertsWithTheNinePointDialogUnits) {
    EXPECT_EQ(layout::ClientPixels(), (Size{331, 323}));
    EXPECT_EQ(layout::ToPixels(*layout::FindControl(ids::kClose)), (Rect{248, 173, 318, 194}));
    EXPECT_EQ(layout::HorizontalPixels(5), 8);
    EXPECT_EQ(layout::VerticalPixels(3), 5);  // 4.5 rounds up
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
