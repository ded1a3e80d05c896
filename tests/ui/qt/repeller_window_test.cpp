// The Qt window with the real dialog logic, headless: the template's controls, the menu bar, the
// fold and the close box.
#include "ui/qt/repeller_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QValidator>
#include <memory>

#include "banner/qt/transparent_label.h"
#include "settings/registry_settings.h"
#include "tests/support/fake_resources.h"
#include "tests/support/memory_registry.h"
#include "tests/support/recording_tone_sink.h"
#include "tests/support/scripted_prompt.h"
#include "tests/ui/recording_tray_host.h"
#include "tone/tone_player.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/repeller_dialog.h"

namespace {

class QtEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[20] = "repeller_window";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};
[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class RepellerWindowTest : public ::testing::Test {
protected:
    RepellerWindowTest() { sink.HoldAfter(0); }
    ~RepellerWindowTest() override { window.SetLogic(nullptr); }

    template <typename T>
    T* Item(int id) {
        return window.findChild<T*>(QString("item%1").arg(id));
    }
    void Open() {
        window.SetLogic(&dialog);
        dialog.OnInitDialog();
        window.show();
    }

    RecordingToneSink sink;
    ScriptedPrompt prompt;
    FakeResources resources;
    MemoryRegistry registry;
    MemoryLogonEntry logon;
    CRegistrySettings settings{registry, logon, prompt, "/usr/bin/drovane"};
    CTonePlayer player{sink, prompt, resources};
    RepellerWindow window{QIcon(), QPixmap()};
    RecordingTrayHost trayHost;
    CSystemTray tray;
    CRepellerDialog dialog{window, player, settings, prompt, tray, trayHost};
};

TEST_F(RepellerWindowTest, ControlsSitAtTheirPixelsOfTheNinePointLayout) {
    const struct {
        int id;
        QRect rect;
    } places[] = {
        {ids::kStart, QRect(11, 173, 71, 21)},      {ids::kClose, QRect(248, 173, 70, 21)},
        {ids::kFrequency1, QRect(80, 218, 48, 18)}, {ids::kSet, QRect(250, 218, 70, 21)},
        {ids::kStopTest, QRect(182, 291, 79, 21)},  {ids::kNotice, QRect(27, 113, 293, 31)},
    };
    for (const auto& p : places) EXPECT_EQ(Item<QWidget>(p.id)->geometry(), p.rect) << p.id;
}

TEST_F(RepellerWindowTest, EveryTemplateControlHasItsTextPlaceAndStyle) {
    for (const layout::Control& c : layout::Controls()) {
        if (c.id == 0 || c.kind == layout::Kind::Banner) continue;
        QWidget* w = Item<QWidget>(c.id);
        ASSERT_NE(w, nullptr) << c.id;
        const Rect r = layout::ToPixels(c);
        EXPECT_EQ(w->pos(), QPoint(r.left, r.top)) << c.id;
        EXPECT_EQ(w->height(), r.Height()) << c.id;
        EXPECT_GE(w->width(), r.Width()) << c.id;
        EXPECT_EQ(window.GetItemText(c.id), std::string(c.text)) << c.id;
        EXPECT_EQ(w->isHidden(), c.hidden) << c.id;
    }
    EXPECT_TRUE(Item<QPushButton>(ids::kClose)->isDefault());
    EXPECT_FALSE(Item<QPushButton>(ids::kStart)->isDefault());
    for (int id : {ids::kFrequency1, ids::kFrequency2, ids::kDelay, ids::kStep}) {
        auto* edit = Item<QLineEdit>(id);
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->alignment() & Qt::AlignRight);
        QString text = "12a";
        int pos = 0;
        EXPECT_EQ(edit->validator()->validate(text, pos), QValidator::Invalid);
        text = "16000";
        EXPECT_EQ(edit->validator()->validate(text, pos), QValidator::Acceptable);
    }
    // Labels take no clicks: they reach the window (the run-at-logon label relies on it).
    EXPECT_TRUE(Item<TransparentLabel>(ids::kRunAtLogonLabel)
                    ->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(RepellerWindowTest, MenuBarHasTheEnglishMenusWithMnemonics) {
    QStringList titles;
    QStringList file;
    for (QAction* a : window.MenuBar()->actions()) titles << a->text();
    for (QAction* a : window.MenuBar()->actions().front()->menu()->actions()) file << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Help"}));
    EXPECT_EQ(file, QStringList({"&Start", "S&top", "", "Test Sound", "Stop Test", "", "E&xit"}));
}

TEST_F(RepellerWindowTest, OpensCompactUnfoldsByButtonAndCloseBoxHides) {
    const int full = window.height();
    Open();
    EXPECT_EQ(window.height(), full - 122);
    EXPECT_EQ(window.width(), 331);
    EXPECT_EQ(window.mask(), QRegion(1, 1, 329, full - 124));
    EXPECT_EQ(Item<QLineEdit>(ids::kFrequency1)->text(), "16000");

    Item<QPushButton>(ids::kDetails)->click();
    EXPECT_EQ(window.height(), full);
    EXPECT_EQ(window.mask(), QRegion(1, 1, 329, full - 2));
    EXPECT_EQ(Item<QPushButton>(ids::kDetails)->text(), "작게보기 <<");
    EXPECT_FALSE(Item<QPushButton>(ids::kSet)->isHidden());

    // Offscreen there is no tray, so the close box minimises rather than hides.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    window.close();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(dialog.SweepWanted());
    window.ShowWindow(WindowShow::Hide);
    EXPECT_FALSE(window.isVisible());
    dialog.OnCommand(ids::kOpen);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
}

TEST_F(RepellerWindowTest, CheckBoxClickWritesTheEntryAndTheMenuShowsTheFlags) {
    Open();
    Item<QCheckBox>(ids::kRunAtLogon)->click();
    EXPECT_EQ(logon.entry, std::string("/usr/bin/drovane"));

    Item<QPushButton>(ids::kStop)->click();
    QMenu* file = window.MenuBar()->actions().front()->menu();
    window.UpdateMenu(file);
    const auto actions = file->actions();
    EXPECT_FALSE(actions[0]->isChecked());
    EXPECT_TRUE(actions[1]->isChecked());
    EXPECT_FALSE(actions[3]->isCheckable());
}

}  // namespace
