#include "app/running_copy.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Windows 1, 2, 3, ... in z-order; records what the walk did to them.
class FakeDesktop final : public DesktopWindows {
public:
    std::vector<Handle> order;
    std::map<Handle, bool> marked;
    std::map<Handle, Handle> popups;
    std::vector<Handle> destroyed;  // still in the z-order list, but no longer windows
    std::vector<std::string> calls;
    int asked = 0;

    Handle First() override { return order.empty() ? 0 : order.front(); }
    Handle Next(Handle w) override {
        for (std::size_t i = 0; i + 1 < order.size(); ++i) {
            if (order[i] == w) return order[i + 1];
        }
        return 0;
    }
    bool IsWindow(Handle w) override {
        for (Handle d : destroyed) {
            if (d == w) return false;
        }
        return true;
    }
    bool HasMark(Handle w) override {
        ++asked;
        return marked[w];
    }
    void Restore(Handle w) override { calls.push_back("restore " + std::to_string(w)); }
    void SetForeground(Handle w) override { calls.push_back("front " + std::to_string(w)); }
    Handle LastActivePopup(Handle w) override { return popups.count(w) ? popups[w] : w; }
};

class FakeMarker final : public CopyMarker {
public:
    bool held = false;
    bool Claim() override {
        if (held) return false;
        held = true;
        return true;
    }
};

// An elevated copy's semaphore is refused to a normal start (ERROR_ACCESS_DENIED): a copy runs.
TEST(RunningCopyTest, OnlyAMarkerMadeNowOrNoneAtAllLetsThisCopyRun) {
    EXPECT_TRUE(MayRunAsFirst(MarkerAnswer::Made));
    EXPECT_FALSE(MayRunAsFirst(MarkerAnswer::AlreadyThere));
    EXPECT_FALSE(MayRunAsFirst(MarkerAnswer::Refused));
    EXPECT_TRUE(MayRunAsFirst(MarkerAnswer::Failed));
}

TEST(RunningCopyTest, FirstMarkedWindowIsRestoredThenItsPopupBroughtInFront) {
    FakeDesktop desktop;
    desktop.order = {1, 2, 3, 4};
    desktop.marked = {{3, true}, {4, true}};
    desktop.popups = {{3, 9}};
    EXPECT_TRUE(RaiseRunningCopy(desktop));
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"restore 3", "front 3", "front 9"}));
    EXPECT_EQ(desktop.asked, 3) << "the walk stops at the first marked window";
}

TEST(RunningCopyTest, WindowWithoutPopupComesForwardTwice) {
    FakeDesktop desktop;
    desktop.order = {5};
    desktop.marked = {{5, true}};
    EXPECT_TRUE(RaiseRunningCopy(desktop));
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"restore 5", "front 5", "front 5"}));
}

TEST(RunningCopyTest, WalkEndsAtTheLastWindowOrAtOneThatIsGone) {
    FakeDesktop desktop;
    desktop.order = {1, 2, 3};
    EXPECT_FALSE(RaiseRunningCopy(desktop)) << "no marked window: nothing happens";
    EXPECT_TRUE(desktop.calls.empty());

    desktop.marked = {{3, true}};
    desktop.destroyed = {2};
    EXPECT_FALSE(RaiseRunningCopy(desktop)) << "a handle that is no window ends the walk";
    EXPECT_TRUE(desktop.calls.empty());
}

TEST(RunningCopyTest, ZOrderThatLeadsRoundInACircleEnds) {
    class Circle final : public DesktopWindows {
    public:
        Handle First() override { return 1; }
        Handle Next(Handle w) override { return w == 1 ? 2 : 1; }
        bool IsWindow(Handle) override { return true; }
        bool HasMark(Handle) override { return false; }
        void Restore(Handle) override {}
        void SetForeground(Handle) override {}
        Handle LastActivePopup(Handle w) override { return w; }
    } circle;
    EXPECT_FALSE(RaiseRunningCopy(circle));
}

TEST(RunningCopyTest, OnlyTheSecondCopyLooksForTheFirst) {
    FakeMarker marker;
    FakeDesktop desktop;
    desktop.order = {7};
    desktop.marked = {{7, true}};
    EXPECT_FALSE(IsAlreadyRunning(marker, desktop)) << "the first copy claims the marker";
    EXPECT_TRUE(desktop.calls.empty()) << "and leaves every window alone";
    EXPECT_TRUE(IsAlreadyRunning(marker, desktop));
    EXPECT_EQ(desktop.calls.front(), "restore 7");

    FakeDesktop empty;
    EXPECT_TRUE(IsAlreadyRunning(marker, empty)) << "a first copy without its window yet";
}

}  // namespace
