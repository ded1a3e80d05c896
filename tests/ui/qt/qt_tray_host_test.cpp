// The tray icon's Qt side, headless: its menu from the menu model, and its life with the tray
// logic.
#include "ui/qt/qt_tray_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
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
    std::unique_ptr<QtTrayHost> MakeHost() {
        return std::make_unique<QtTrayHost>(
            tray, [](int) { return QIcon(); }, [this](int command) { commands.push_back(command); },
            [this](int command) -> std::optional<bool> {
                if (command == ids::kStart) return sweeping;
                if (command == ids::kStop) return !sweeping;
                return std::nullopt;
            },
            [this] { ++foregrounds; });
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

TEST_F(QtTrayHostTest, DoubleClickRunsTheDefaultCommand) {
    auto host = MakeHost();
    ASSERT_TRUE(tray.AddToTray(*host, "Drovane", ids::kTrayIcon, ids::kTrayMenu));
    tray.HandleTrayCallback(ids::kTrayMenu, CSystemTray::kLButtonDblClk);
    EXPECT_EQ(commands, std::vector<int>{ids::kOpen});
}

}  // namespace
