// The toolbar's combo box: the height it takes for its list, the hover it keeps while the pointer
// moves between the box and its edit field, and what the toolbar's windows answer.
#include "toolkit/toolbar_xp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Asked for 100 with a list of 5 items of 16 and borders of 2: the window takes the list's height
// and the field, 100 less 6, once the size changed; a change of its own in between is let through.
TEST(ComboHeightTest, TheWindowTakesTheListsHeightAndTheFieldTheRequestLessSix) {
    CComboHeight combo;
    EXPECT_EQ(combo.TakeFieldHeight(), -1) << "no change pending";
    EXPECT_EQ(combo.OnWindowPosChanging(100, 5, 2, 20, 16), 7 * 2 + 5 * 16 + 20);
    EXPECT_EQ(combo.OnWindowPosChanging(130, 5, 2, 20, 16), 130) << "its own change";
    EXPECT_EQ(combo.TakeFieldHeight(), 94);
    EXPECT_EQ(combo.TakeFieldHeight(), -1);
    EXPECT_EQ(combo.OnWindowPosChanging(50, 3, 2, 30, 16), 7 * 2 + 3 * 16 + 20)
        << "the first field height stays";
    EXPECT_EQ(combo.TakeFieldHeight(), 44);
}

struct Calls : CHoverTracker::Host {
    std::string log;
    void Invalidate() override { log += "i"; }
    void RedrawFrame() override { log += "f"; }
    void TrackLeave(CHoverTracker::Window w) override { log += "t" + std::to_string(w); }
    void CancelLeave(CHoverTracker::Window w) override { log += "c" + std::to_string(w); }
};

// Hot on the first move, which repaints as asked and tracks the window; a move to the edit field
// moves the tracking without repainting; only leaving the tracked window makes it cold.
TEST(HoverTrackerTest, MovingBetweenTheBoxAndItsFieldKeepsItHot) {
    for (const unsigned options : {0u, CHoverTracker::kInvalidate, CHoverTracker::kRedrawFrame}) {
        Calls host;
        CHoverTracker tracker(host, options);
        const std::string paint = options == CHoverTracker::kInvalidate    ? "i"
                                  : options == CHoverTracker::kRedrawFrame ? "f"
                                                                           : "";
        EXPECT_TRUE(tracker.OnMouseMove(0));
        EXPECT_FALSE(tracker.OnMouseMove(0));
        EXPECT_FALSE(tracker.OnMouseMove(7));
        EXPECT_FALSE(tracker.OnMouseLeave(0)) << "not the tracked window";
        EXPECT_TRUE(tracker.IsHot());
        EXPECT_TRUE(tracker.OnMouseLeave(7));
        EXPECT_FALSE(tracker.IsHot());
        EXPECT_FALSE(tracker.OnMouseLeave(7)) << "cold already";
        EXPECT_EQ(host.log, paint + "t0" + "c0t7" + paint) << options;
    }
}

// What the toolbar's windows answer: a drop-down button shows pressed only when the frame left its
// command unhandled; its command word is its number negated; a combo box wants every key
// (DLGC_WANTALLKEYS, 4) while Enter is down.
TEST(ToolbarAnswersTest, DropDownButtonsAndTheComboBox) {
    EXPECT_EQ(toolbar_xp::DropDownResult(0), 2);
    EXPECT_EQ(toolbar_xp::DropDownResult(1), 0);
    EXPECT_EQ(toolbar_xp::DropDownResult(-1), 0);
    EXPECT_EQ(toolbar_xp::DropDownCommand(3), 0xFFFD);
    EXPECT_EQ(toolbar_xp::ComboDialogCode(0x81, true), 0x85u);
    EXPECT_EQ(toolbar_xp::ComboDialogCode(0x81, false), 0x81u);
}

}  // namespace
