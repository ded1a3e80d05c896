#include "ui/system_tray.h"

#include <gtest/gtest.h>

#include "tests/ui/recording_tray_host.h"
#include "ui/dialog_ids.h"

namespace {

class SystemTrayTest : public ::testing::Test {
protected:
    void Add() { ASSERT_TRUE(tray.AddToTray(host, "Drovane", ids::kTrayIcon, ids::kTrayMenu)); }

    RecordingTrayHost host;
    CSystemTray tray;
};

TEST_F(SystemTrayTest, RightButtonReleaseOpensTheTrayMenuWithOpenAsDefault) {
    Add();
    host.log.clear();
    EXPECT_EQ(tray.HandleTrayCallback(ids::kTrayMenu, CSystemTray::kRButtonUp), 1);
    EXPECT_EQ(host.log, (std::vector<std::string>{"foreground", "menu"}));
    ASSERT_NE(host.popup, nullptr);
    EXPECT_EQ(host.defaultCommand, ids::kOpen);
    std::vector<int> commands;
    for (const MenuItem& item : host.popup->items) commands.push_back(item.command);
    EXPECT_EQ(commands, (std::vector<int>{32779, 57664, 0, 131, 132, 0, 3, 4, 0, 32778}));
    EXPECT_EQ(host.popup->items[0].text, "&Open");
    EXPECT_EQ(host.popup->items[9].text, "E&xit");
}

TEST_F(SystemTrayTest, DoubleClickSendsOpen) {
    Add();
    EXPECT_EQ(tray.HandleTrayCallback(ids::kTrayMenu, CSystemTray::kLButtonDblClk), 1);
    EXPECT_EQ(host.commands, std::vector<int>{ids::kOpen});
    EXPECT_EQ(host.log.back(), "command 32779");
    EXPECT_EQ(host.log[host.log.size() - 2], "foreground");
}

TEST_F(SystemTrayTest, OtherMouseMessagesAndOtherIconsDoNothing) {
    Add();
    host.log.clear();
    for (std::uint32_t message : {CSystemTray::kLButtonDown, CSystemTray::kLButtonUp,
                                  CSystemTray::kRButtonDown, CSystemTray::kMouseMove}) {
        EXPECT_EQ(tray.HandleTrayCallback(ids::kTrayMenu, message), 1);
    }
    EXPECT_EQ(tray.HandleTrayCallback(150, CSystemTray::kRButtonUp), 0);
    EXPECT_EQ(tray.HandleTrayCallback(150, CSystemTray::kLButtonDblClk), 0);
    EXPECT_TRUE(host.log.empty());
}

TEST_F(SystemTrayTest, IconWithoutAMenuResourceShowsNothing) {
    ASSERT_TRUE(tray.AddToTray(host, "Drovane", ids::kTrayIcon, 150));
    host.log.clear();
    EXPECT_EQ(tray.HandleTrayCallback(150, CSystemTray::kRButtonUp), 0);
    EXPECT_EQ(tray.HandleTrayCallback(150, CSystemTray::kLButtonDblClk), 0);
    EXPECT_TRUE(host.commands.empty());
    EXPECT_EQ(host.popup, nullptr);
}

TEST_F(SystemTrayTest, ReplaceAndRemoveNeedAShownIcon) {
    EXPECT_FALSE(tray.ReplaceIcon(ids::kTrayIcon));
    tray.RemoveFromTray();
    EXPECT_TRUE(host.log.empty());

    host.accept = false;
    EXPECT_FALSE(tray.AddToTray(host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
    EXPECT_FALSE(tray.ReplaceIcon(ids::kTrayIcon));
    tray.RemoveFromTray();
    EXPECT_EQ(host.log, std::vector<std::string>{"add 165 Drovane"});
}

TEST_F(SystemTrayTest, DestructionRemovesTheIconOnce) {
    {
        CSystemTray local;
        ASSERT_TRUE(local.AddToTray(host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
        EXPECT_TRUE(local.ReplaceIcon(ids::kDialogIcon));
    }
    EXPECT_EQ(host.log, (std::vector<std::string>{"add 165 Drovane", "replace 128", "remove"}));
}

TEST_F(SystemTrayTest, LongTipIsCutToItsCapacityAtACharacterBoundary) {
    // 62 ASCII bytes, then a three-byte Hangul letter that would end at byte 65.
    const std::string tip = std::string(62, 'a') + "모" + "tail";
    ASSERT_TRUE(tray.AddToTray(host, tip, ids::kTrayIcon, ids::kTrayMenu));
    EXPECT_EQ(host.log.back(), "add 165 " + std::string(62, 'a'));
    const std::string exact(63, 'b');
    CSystemTray other;
    ASSERT_TRUE(other.AddToTray(host, exact, ids::kTrayIcon, ids::kTrayMenu));
    EXPECT_EQ(host.log.back(), "add 165 " + exact);
}

// A restarted shell, or a notification area that comes up after a start at logon, is empty: the
// icon must come back, with its latest picture, unless the program took it away itself.
TEST_F(SystemTrayTest, NewNotificationAreaGetsTheIconAgain) {
    host.accept = false;  // started before the notification area exists
    EXPECT_FALSE(tray.AddToTray(host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
    EXPECT_FALSE(tray.ReplaceIcon(ids::kDialogIcon));
    host.accept = true;
    EXPECT_TRUE(tray.OnNotificationAreaCreated());
    EXPECT_TRUE(tray.Enabled());
    EXPECT_EQ(host.log.back(), "add 128 Drovane");

    EXPECT_TRUE(tray.ReplaceIcon(ids::kTrayIcon));
    EXPECT_TRUE(tray.OnNotificationAreaCreated()) << "a shell that restarts again";
    EXPECT_EQ(host.log.back(), "add 165 Drovane");
    EXPECT_EQ(tray.HandleTrayCallback(ids::kTrayMenu, CSystemTray::kLButtonDblClk), 1)
        << "the icon keeps its identity and menu";
    EXPECT_EQ(host.commands, std::vector<int>{ids::kOpen});

    host.accept = false;
    EXPECT_FALSE(tray.OnNotificationAreaCreated());
    EXPECT_FALSE(tray.Enabled()) << "a refused add leaves nothing to remove";
    host.log.clear();
    tray.RemoveFromTray();
    EXPECT_TRUE(host.log.empty());
}

TEST_F(SystemTrayTest, IconTakenAwayOrNeverAddedStaysAway) {
    EXPECT_FALSE(tray.OnNotificationAreaCreated());
    Add();
    tray.RemoveFromTray();
    host.log.clear();
    EXPECT_FALSE(tray.OnNotificationAreaCreated());
    EXPECT_FALSE(tray.ReplaceIcon(ids::kDialogIcon));
    EXPECT_TRUE(host.log.empty());
}

}  // namespace
