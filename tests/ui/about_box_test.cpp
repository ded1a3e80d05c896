#include "ui/about_box.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "banner/link_static.h"
#include "tests/support/memory_surface.h"
#include "tests/support/recording_shell.h"

namespace {

// A label's control that keeps nothing: the link labels keep their colours themselves.
struct BlankLabel final : LinkLabelView {
    std::string GetText() override { return "label"; }
    void SetText(std::string_view) override {}
    void Redraw() override {}
    void StartTimer(int) override {}
    void StopTimer() override {}
    void SetTakesClicks(bool) override {}
};

struct FakeAboutView final : AboutView {
    CLinkStatic& Link(int id) override {
        auto& link = links[id];
        if (!link) link = std::make_unique<CLinkStatic>(labels[id], shell, Rgb(0, 0, 0), 0);
        return *link;
    }
    Size GetWindowSize() override { return {200, 100}; }
    void SetWindowRegion(const Rect& shown) override { region = shown; }

    RecordingShell shell;
    std::map<int, BlankLabel> labels;
    std::map<int, std::unique_ptr<CLinkStatic>> links;
    Rect region;
};

// A dark card at first, then the light one as after a palette change: each label and the card take
// the look's colours; the maker's name is an underlined link to the maker's page with the hand
// cursor, the version line blinks; the window loses its outermost pixel on every side.
TEST(AboutBoxTest, TakesEachLooksColoursLinksTheMakerAndTrimsTheWindowsEdge) {
    const CardLook light{CardLook::kLightCard, Rgb(0, 0, 0), CardLook::kLightLink,
                         CardLook::kLightAccent};
    const CardLook dark{Rgb(30, 30, 30), Rgb(230, 230, 230), Rgb(120, 170, 255), Rgb(90, 220, 120)};
    FakeAboutView view;
    CAboutDialog about(view, "https://example.org/maker");
    EXPECT_TRUE(about.OnInitDialog(dark));
    for (const CardLook* each : {&dark, &light}) {
        const CardLook& look = *each;
        if (each == &light) about.ApplyLook(look);
        for (const auto& [id, text] : {std::pair{CAboutDialog::kMakerName, look.link},
                                       {CAboutDialog::kVersionLine, look.accent},
                                       {CAboutDialog::kNoticeLine, look.text}}) {
            EXPECT_EQ(view.Link(id).ForeColor(), text) << id;
            EXPECT_EQ(view.Link(id).BackColor(), look.card) << id;
        }
        MemorySurface surface({200, 100});
        about.OnPaint(surface);
        EXPECT_EQ(surface.GetPixel({0, 0}), look.card);
        EXPECT_EQ(surface.GetPixel({199, 99}), look.card);
    }
    CLinkStatic& maker = view.Link(CAboutDialog::kMakerName);
    EXPECT_TRUE(maker.IsLink());
    EXPECT_TRUE(maker.Underline());
    EXPECT_EQ(maker.OnSetCursor(), CAboutDialog::kHandCursor);
    EXPECT_EQ(CLinkStatic::LinkAddress(), "https://example.org/maker");
    EXPECT_TRUE(view.Link(CAboutDialog::kVersionLine).Blinking());
    EXPECT_FALSE(view.Link(CAboutDialog::kNoticeLine).IsLink());
    EXPECT_EQ(view.region.left, 1);
    EXPECT_EQ(view.region.top, 1);
    EXPECT_EQ(view.region.right, 199);
    EXPECT_EQ(view.region.bottom, 99);
}

}  // namespace
