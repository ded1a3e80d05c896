#include "banner/link_static.h"

#include <gtest/gtest.h>

#include "tests/support/recording_shell.h"

namespace {

// A label's control in memory: its text, its timer and whether it takes clicks.
class FakeLinkView final : public LinkLabelView {
public:
    std::string GetText() override { return text; }
    void SetText(std::string_view t) override { text = t; }
    void Redraw() override { ++redraws; }
    void StartTimer(int periodMs) override { timerMs = periodMs; }
    void StopTimer() override { timerMs = 0; }
    void SetTakesClicks(bool takes) override { takesClicks = takes; }

    std::string text;
    int timerMs = 0;
    int redraws = 0;
    bool takesClicks = false;
};

constexpr Color kWindowText = Rgb(0, 0, 0);
constexpr Color kButtonFace = Rgb(236, 233, 216);

TEST(LinkStaticTest, StartsWithTheSystemColoursAndTakesSettersInAChain) {
    FakeLinkView view;
    RecordingShell shell;
    CLinkStatic label(view, shell, kWindowText, kButtonFace);
    EXPECT_EQ(label.ForeColor(), kWindowText);
    EXPECT_EQ(label.BackColor(), kButtonFace);
    label.SetForeColor(0xFF0000).SetBackColor(0xFFFFFF).SetUnderline(true).SetHoverCursor(158);
    EXPECT_EQ(label.ForeColor(), Rgb(0, 0, 255)) << "0xFF0000 is pure blue";
    EXPECT_EQ(label.BackColor(), Rgb(255, 255, 255));
    EXPECT_TRUE(label.Underline());
    EXPECT_EQ(label.OnSetCursor(), 158);
    EXPECT_EQ(view.redraws, 2) << "colour and underline redraw; the background waits for a paint";
}

TEST(LinkStaticTest, BlinkingHidesTheTextEveryOtherTickAndNeverLosesIt) {
    FakeLinkView view;
    view.text = "Drovane Version 1.0";
    RecordingShell shell;
    CLinkStatic label(view, shell, kWindowText, kButtonFace);
    label.BlinkText(true);
    EXPECT_EQ(view.timerMs, 500);
    label.OnTimer();
    EXPECT_EQ(view.text, "") << "the first tick empties the text";
    label.OnTimer();
    EXPECT_EQ(view.text, "Drovane Version 1.0") << "the second restores it";

    label.OnTimer();
    ASSERT_EQ(view.text, "");
    label.BlinkText(true);
    EXPECT_EQ(view.text, "Drovane Version 1.0") << "a second start gives the text back first";
    label.OnTimer();
    label.OnTimer();
    EXPECT_EQ(view.text, "Drovane Version 1.0") << "and blinks the real text, not the empty one";

    label.OnTimer();
    label.BlinkText(false);
    EXPECT_EQ(view.text, "Drovane Version 1.0");
    EXPECT_EQ(view.timerMs, 0);
    view.text = "changed";
    label.BlinkText(false);
    EXPECT_EQ(view.text, "changed") << "a stopped blink does not bring an old text back";
}

TEST(LinkStaticTest, OnlyALinkTakesClicksAndEveryLinkOpensTheAddressSetLast) {
    FakeLinkView makerView, otherView, plainView;
    RecordingShell shell;
    CLinkStatic maker(makerView, shell, kWindowText, kButtonFace);
    CLinkStatic other(otherView, shell, kWindowText, kButtonFace);
    CLinkStatic plain(plainView, shell, kWindowText, kButtonFace);
    maker.SetLinkAddress(true, "https://example.org/maker");
    other.SetLinkAddress(true, "https://example.org/other");
    EXPECT_TRUE(makerView.takesClicks);
    EXPECT_FALSE(plainView.takesClicks);
    maker.OnLButtonDown();
    EXPECT_EQ(shell.opened, std::vector<std::string>{"https://example.org/other"});
    other.SetLinkAddress(false, "https://example.org/off");
    EXPECT_FALSE(otherView.takesClicks);
    maker.OnLButtonDown();
    EXPECT_EQ(shell.opened.back(), "https://example.org/off") << "whichever label set it";
}

}  // namespace
