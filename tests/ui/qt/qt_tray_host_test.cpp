// The tray icon's Qt side, headless: its menu from the menu model, and its life with the tray
// logic.
#include "ui/qt/qt_tray_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <memory>
#include <vector>

#include "tests/support/qt/qt_test_environment.h"
#include "ui/dialog_ids.h"
#include "ui/menu_model.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    AddQtTestEnvironment<QApplication>();

class QtTrayHostTest : public ::testing::Test {
protected:
    // The desktop offers an X11 tray unless told otherwise.
    std::unique_ptr<QtTrayHost> MakeHost(TrayPresence presence = {false, false, true, ""}) {
        return std::make_unique<QtTrayHost>(
            tray, [](int) { return QIcon(); }, [this](int command) { commands.push_back(command); },
            [this](int command) -> std::optional<bool> {
                if (command == ids::kStart) return sweeping;
                if (command == ids::kStop) return !sweeping;
                return std::nullopt;
            },
            [this] { ++foregrounds; }, [presence] { return presence; });
    }

    CSystemTray tray;
    std::vector<int> commands;
    bool sweeping = true;
    int foregrounds = 0;
};

TEST_F(QtTrayHostTest, AHostThatGoesFirstTakesItsIconAlong) {
    auto host = MakeHost();
    ASSERT_TRUE(tray.AddToTray(*host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
    ASSERT_TRUE(tray.Enabled());
    host.reset();
    EXPECT_FALSE(tray.Enabled()) << "the tray logic must not call a host that is gone";
}

TEST_F(QtTrayHostTest, RightClickMenuIsTheTrayMenuWithItsDefaultAndChecks) {
    auto host = MakeHost();
    ASSERT_TRUE(tray.AddToTray(*host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
    sweeping = false;
    EXPECT_EQ(tray.HandleTrayCallback(ids::kTrayMenu, CSystemTray::kRButtonUp), 1);
    EXPECT_EQ(foregrounds, 1);
    QMenu* menu = host->Menu();
    ASSERT_NE(menu, nullptr);

    QStringList texts;
    for (QAction* a : menu->actions()) texts << a->text();
    EXPECT_EQ(texts, QStringList({"&Open", "&About Drovane...", "", "&Start", "S&top", "",
                                  "Test Sound", "Stop Test", "", "E&xit"}));
    ASSERT_NE(menu->defaultAction(), nullptr);
    EXPECT_EQ(menu->defaultAction()->text(), "&Open");
    const auto actions = menu->actions();
    EXPECT_FALSE(actions[3]->isChecked()) << "Start unchecked while stopped";
    EXPECT_TRUE(actions[4]->isChecked()) << "Stop checked while stopped";
    EXPECT_FALSE(actions[6]->isCheckable()) << "items without a state carry no mark";

    // A chosen item runs its command once the menu has closed, not inside it.
    actions[9]->trigger();
    EXPECT_TRUE(commands.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(commands, std::vector<int>{ids::kExit});
}

TEST_F(QtTrayHostTest, ADBusHostIsGivenTheTrayMenuToDrawWithTheStateOfNow) {
    const TrayPresence dbus{true, true, true, ":1.1"};
    for (const TrayPresence& presence : {dbus, TrayPresence{false, false, true, ""}}) {
        auto host = MakeHost(presence);
        ASSERT_TRUE(tray.AddToTray(*host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
        QMenu* menu = host->HostMenu();
        EXPECT_EQ(host->Icon()->contextMenu(), menu);
        if (!presence.hostRegistered) {
            EXPECT_EQ(menu, nullptr) << "an X11 tray gets the flat menu instead";
            continue;
        }
        ASSERT_EQ(menu->actions().size(), 10);
        EXPECT_EQ(menu->defaultAction(), menu->actions()[0]);
        QAction* start = menu->actions()[3];
        QAction* stop = menu->actions()[4];
        EXPECT_TRUE(start->isChecked());
        sweeping = false;  // what Stop does
        stop->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(commands, std::vector<int>{ids::kStop});
        EXPECT_FALSE(start->isChecked()) << "a command's new state reaches the host's menu";
        EXPECT_TRUE(stop->isChecked());
    }
}

TEST_F(QtTrayHostTest, DoubleClickRunsTheDefaultCommand) {
    auto host = MakeHost();
    ASSERT_TRUE(tray.AddToTray(*host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
    tray.HandleTrayCallback(ids::kTrayMenu, CSystemTray::kLButtonDblClk);
    EXPECT_EQ(commands, std::vector<int>{ids::kOpen});
}

TEST_F(QtTrayHostTest, AClickOpensTheWindowOnADBusHostAndADoubleClickOnAnX11Tray) {
    struct Case {
        TrayPresence presence;
        QSystemTrayIcon::ActivationReason reason;
        std::vector<int> commands;
    };
    const TrayPresence dbus{true, true, true, ":1.1"};
    const TrayPresence x11{false, false, true, ""};
    const Case cases[] = {
        {dbus, QSystemTrayIcon::Trigger, {ids::kOpen}},
        {dbus, QSystemTrayIcon::DoubleClick, {ids::kOpen}},
        {x11, QSystemTrayIcon::Trigger, {}},
        {x11, QSystemTrayIcon::DoubleClick, {ids::kOpen}},
        {dbus, QSystemTrayIcon::MiddleClick, {}},
    };
    for (const Case& c : cases) {
        commands.clear();
        auto host = MakeHost(c.presence);
        ASSERT_TRUE(tray.AddToTray(*host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
        ASSERT_NE(host->Icon(), nullptr);
        emit host->Icon()->activated(c.reason);
        EXPECT_EQ(commands, c.commands) << c.presence.hostRegistered << " " << c.reason;
    }
}

TEST_F(QtTrayHostTest, WithoutANotificationAreaNoIconIsMadeAndNoneIsAvailable) {
    auto host = MakeHost(TrayPresence{true, false, false, ":1.1"});
    EXPECT_FALSE(tray.AddToTray(*host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
    EXPECT_EQ(host->Icon(), nullptr) << "Qt would settle on its kind of icon too early";
    EXPECT_FALSE(host->Available());
}

}  // namespace
