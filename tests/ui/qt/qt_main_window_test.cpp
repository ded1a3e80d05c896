// The Qt window with the real dialog logic, headless: the template's controls, the menu bar, the
// fold and the close box.
#include "ui/qt/qt_main_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "banner/qt/qt_link_static.h"
#include "banner/qt/qt_transparent_static.h"
#include "base/qt/qt_text.h"
#include "settings/registry_settings.h"
#include "tests/support/fake_resources.h"
#include "tests/support/memory_registry.h"
#include "tests/support/qt/qt_test_environment.h"
#include "tests/support/recording_shell.h"
#include "tests/support/recording_tone_sink.h"
#include "tests/support/scripted_prompt.h"
#include "tests/ui/recording_tray_host.h"
#include "tone/tone_player.h"
#include "toolkit/contrast.h"
#include "toolkit/qt/qt_color.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/qt/dialog_font.h"
#include "ui/qt/qt_about_window.h"
#include "ui/qt/ui_translation.h"
#include "ui/repeller_dialog.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    AddQtTestEnvironment<QApplication>([] {
        QApplication::setFont(DialogFont());
        // Run once more in Korean, with the translation the build made.
        if (qEnvironmentVariableIsSet("DROVANE_TRANSLATIONS")) {
            EXPECT_TRUE(InstallTranslation(*qApp, qEnvironmentVariable("DROVANE_TRANSLATIONS")));
        }
    });

std::optional<QCursor> NoCursors(int) { return std::nullopt; }

// Runs the event loop a while: a screen reader's press is an animated click.
void Settle() {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 300) QApplication::processEvents();
}

void Key(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, " ");
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, " ");
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

void Press(QWidget* widget, const QString& action) {
    QAccessible::queryAccessibleInterface(widget)->actionInterface()->doAction(action);
    Settle();
}

class QtMainWindowTest : public ::testing::Test {
protected:
    QtMainWindowTest() { sink.HoldAfter(0); }

    // Our widget classes carry no Q_OBJECT, so Qt's findChild<T> cannot tell them from their base.
    template <typename T>
    T* Item(int id) {
        return dynamic_cast<T*>(window.findChild<QWidget*>(QString("item%1").arg(id)));
    }
    QtAboutWindow* AboutBox() { return dynamic_cast<QtAboutWindow*>(window.findChild<QDialog*>()); }
    void Open() {
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
    RecordingShell shell;
    RecordingTrayHost trayHost;
    CSystemTray tray;
    QtMainWindow window{WindowArt{QIcon(), QPixmap(), QPixmap(), NoCursors}, shell,
                        "https://example.org/maker", [this](DialogView& view) {
                            return std::make_unique<CRepellerDialog>(view, player, settings, prompt,
                                                                     tray, trayHost, shell,
                                                                     "https://example.org/product");
                        }};
    CRepellerDialog& dialog = window.Logic();
};

TEST_F(QtMainWindowTest, ControlsSitAtTheirPixelsOfTheNinePointLayout) {
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

TEST_F(QtMainWindowTest, EveryTemplateControlHasItsTextPlaceAndStyle) {
    for (const layout::Control& c : layout::Controls()) {
        if (c.id == 0 || c.kind == layout::Kind::Banner) continue;
        QWidget* w = Item<QWidget>(c.id);
        ASSERT_NE(w, nullptr) << c.id;
        const Rect r = layout::ToPixels(c);
        const QRect placed(r.left, r.top, r.Width(), r.Height());
        if (c.kind == layout::Kind::Label) {
            // A label may grow right and down to hold its text, from where the template puts it.
            EXPECT_EQ(w->pos(), placed.topLeft()) << c.id;
            EXPECT_GE(w->width(), placed.width()) << c.id;
            EXPECT_GE(w->height(), placed.height()) << c.id;
        } else if (c.kind == layout::Kind::CheckBox) {
            // The check box grows about its centre to show the style's whole mark.
            const int mark = w->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, w);
            EXPECT_EQ(w->geometry().center(), placed.center()) << c.id;
            EXPECT_EQ(w->height(), std::max(mark, placed.height())) << c.id;
        } else {
            EXPECT_EQ(w->geometry(), placed) << c.id;
        }
        EXPECT_EQ(window.GetItemText(c.id), Translated(c.text).toStdString()) << c.id;
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
    EXPECT_TRUE(Item<QtTransparentStatic>(ids::kRunAtLogonLabel)
                    ->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(QtMainWindowTest, SpeaksTheSystemLanguageWithEnglishForAnyOther) {
    const bool korean =
        LanguageOf(qEnvironmentVariable("LANGUAGE").toStdString()) == UiLanguage::Korean;
    Open();
    Item<QPushButton>(ids::kDetails)->click();
    const std::pair<QString, QString> texts[] = {
        {window.windowTitle(), korean ? "모기 퇴치용 프로그램 v1.0" : "Mosquito Repeller v1.0"},
        {Item<QPushButton>(ids::kDetails)->text(), korean ? "작게보기 <<" : "Less <<"},
        {Item<QPushButton>(ids::kStopTest)->text(), korean ? "사운드 멈춤" : "Stop Test"},
        {Item<QLabel>(ids::kRunAtLogonLabel)->text(),
         korean ? "시작 시 실행하기" : "Start at logon"},
        {Item<QLabel>(ids::kFrequencyLabel)->text(), "Frequency"},
    };
    for (const auto& [shown, expected] : texts) EXPECT_EQ(shown, expected);
}

TEST_F(QtMainWindowTest, MenuBarHasTheEnglishMenusWithMnemonics) {
    QStringList titles;
    QStringList file;
    for (QAction* a : window.findChild<QMenuBar*>()->actions()) titles << a->text();
    for (QAction* a : window.findChild<QMenuBar*>()->actions().front()->menu()->actions())
        file << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Help"}));
    EXPECT_EQ(file, QStringList({"&Start", "S&top", "", "Test Sound", "Stop Test", "", "E&xit"}));
}

TEST_F(QtMainWindowTest, OpensCompactUnfoldsByButtonAndCloseBoxHides) {
    const int full = window.height();
    Open();
    EXPECT_EQ(window.height(), full - 122);
    EXPECT_EQ(window.width(), 331);
    EXPECT_TRUE(window.mask().isEmpty()) << "the window manager's frame is trimmed, not content";
    EXPECT_EQ(Item<QLineEdit>(ids::kFrequency1)->text(), "16000");
    // What the fold puts out of sight is hidden, labels too; the notice above it shows.
    const int folded[] = {ids::kFrequency1, ids::kFrequencyLabel, ids::kSoundTestLabel};
    for (int id : folded) EXPECT_TRUE(Item<QWidget>(id)->isHidden()) << id;
    EXPECT_FALSE(Item<QWidget>(ids::kNotice)->isHidden());

    Item<QPushButton>(ids::kDetails)->click();
    EXPECT_EQ(window.height(), full);
    for (int id : folded) EXPECT_FALSE(Item<QWidget>(id)->isHidden()) << id;

    EXPECT_EQ(Item<QPushButton>(ids::kDetails)->text(), "Less <<");
    EXPECT_FALSE(Item<QPushButton>(ids::kSet)->isHidden());

    // Offscreen there is no tray, so the close box minimises rather than hides.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    window.close();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_EQ(dialog.OnUpdateCommand(ids::kStart), true);
    window.ShowWindow(WindowShow::Hide);
    EXPECT_FALSE(window.isVisible());
    dialog.OnCommand(ids::kOpen);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
}

TEST_F(QtMainWindowTest, NeitherWindowOffersMaximisingAndBothKeepTheirSizeFixed) {
    Open();
    QtAboutWindow about(QPixmap(), shell, NoCursors, "https://example.org/maker", &window);
    for (int unfold = 0; unfold < 2; ++unfold) {
        for (QWidget* w : {static_cast<QWidget*>(&window), static_cast<QWidget*>(&about)}) {
            // Without CustomizeWindowHint a platform may add its default buttons.
            EXPECT_TRUE(w->windowFlags() & Qt::CustomizeWindowHint)
                << w->objectName().toStdString();
            EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint)
                << w->objectName().toStdString();
            EXPECT_EQ(w->minimumSize(), w->maximumSize()) << w->objectName().toStdString();
            EXPECT_EQ(w->maximumSize(), w->size()) << w->objectName().toStdString();
        }
        Item<QPushButton>(ids::kDetails)->click();
    }
}

TEST_F(QtMainWindowTest, CheckBoxClickWritesTheEntryAndTheMenuShowsTheFlags) {
    Open();
    Item<QCheckBox>(ids::kRunAtLogon)->click();
    EXPECT_EQ(logon.entry, std::string("/usr/bin/drovane"));

    Item<QPushButton>(ids::kStop)->click();
    QMenu* file = window.findChild<QMenuBar*>()->actions().front()->menu();
    window.UpdateMenu(file);
    const auto actions = file->actions();
    EXPECT_FALSE(actions[0]->isChecked());
    EXPECT_TRUE(actions[1]->isChecked());
    EXPECT_FALSE(actions[3]->isCheckable());
}

TEST_F(QtMainWindowTest, EveryWayOfChangingTheBoxWritesOrRemovesTheEntryAsAClickDoes) {
    Open();
    auto* box = Item<QCheckBox>(ids::kRunAtLogon);
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"click", [&] { box->click(); }},
        {"Space", [&] { Key(box, Qt::Key_Space); }},
        {"toggle action", [&] { Press(box, QAccessibleActionInterface::toggleAction()); }},
        {"press action", [&] { Press(box, QAccessibleActionInterface::pressAction()); }},
    };
    for (const auto& [way, change] : ways) {
        change();
        EXPECT_TRUE(box->isChecked()) << way;
        EXPECT_EQ(logon.entry, std::string("/usr/bin/drovane")) << way;
        change();
        EXPECT_FALSE(logon.entry) << way;
    }
    // A mark the program moves itself (the label's click) writes nothing.
    window.SetCheck(ids::kRunAtLogon, 1);
    EXPECT_FALSE(logon.entry);
}

TEST_F(QtMainWindowTest, ScreenReadersFindEachControlByNameRoleAndTheLabelThatNamesIt) {
    Open();
    const struct {
        int id;
        QAccessible::Role role;
        std::string name;
        std::vector<int> labels;
    } controls[] = {
        {ids::kStart, QAccessible::PushButton, "Start", {}},
        // Orca reads a labelling label in place of the name: no label holds these whole names.
        {ids::kFrequency1, QAccessible::EditableText, "Frequency (Hz)", {}},
        {ids::kFrequency2, QAccessible::EditableText, "to (Hz)", {}},
        {ids::kDelay, QAccessible::EditableText, "Delay", {ids::kDelayLabel}},
        {ids::kStep, QAccessible::EditableText, "Step", {ids::kStepLabel}},
        {ids::kRunAtLogon, QAccessible::CheckBox, "Start at logon", {ids::kRunAtLogonLabel}},
        {ids::kRunAtLogonLabel, QAccessible::StaticText, "Start at logon", {}},
        {ids::kSoundSettingsLabel, QAccessible::StaticText, "Sound settings", {}},
        {ids::kNotice, QAccessible::StaticText, window.GetItemText(ids::kNotice), {}},
        {ids::kBanner, QAccessible::Link, "Drovane", {}},
    };
    for (const auto& c : controls) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(Item<QWidget>(c.id));
        ASSERT_NE(a, nullptr) << c.id;
        EXPECT_EQ(a->role(), c.role) << c.id;
        EXPECT_EQ(a->text(QAccessible::Name).toStdString(), c.name) << c.id;
        std::vector<int> labels;
        for (const auto& [label, relation] : a->relations(QAccessible::Label)) {
            labels.push_back(label->object()->objectName().mid(4).toInt());
        }
        std::sort(labels.begin(), labels.end());
        EXPECT_EQ(labels, c.labels) << c.id;
    }
}

TEST_F(QtMainWindowTest, LinksTakeTheFocusByTabAndOpenTheirPageByKeyOrScreenReader) {
    Open();
    QtAboutWindow about(QPixmap(), shell, NoCursors, "https://example.org/maker", &window);
    const std::pair<QWidget*, std::string> links[] = {
        {Item<QWidget>(ids::kBanner), "https://example.org/product"},
        {about.findChild<QWidget*>(QString("item%1").arg(CAboutDialog::kMakerName)),
         "https://example.org/maker"},
    };
    for (const auto& [link, page] : links) {
        shell.opened.clear();
        EXPECT_EQ(link->focusPolicy(), Qt::TabFocus) << page;
        Key(link, Qt::Key_Return);
        Key(link, Qt::Key_Space);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(link);
        EXPECT_EQ(a->role(), QAccessible::Link) << page;
        EXPECT_EQ(a->text(QAccessible::Description).toStdString(), page);
        Press(link, QAccessibleActionInterface::pressAction());
        EXPECT_EQ(shell.opened, std::vector<std::string>(3, page));
    }
    // The About box's other lines are text: no focus, no link.
    QWidget* version = about.findChild<QWidget*>(QString("item%1").arg(CAboutDialog::kVersionLine));
    EXPECT_EQ(version->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(version)->role(), QAccessible::StaticText);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(version)->text(QAccessible::Name),
              "Drovane Version 1.0");
}

TEST_F(QtMainWindowTest, EveryLabelFitsItsRectangleWithAPixelToSpare) {
    const QFontMetrics metrics(QApplication::font());
    int labels = 0;
    for (const layout::Control& c : layout::Controls()) {
        if (c.kind != layout::Kind::Label || c.height > 8) continue;
        ++labels;
        const QRect r = Item<QWidget>(c.id)->geometry();
        const QString text = FromUtf8(window.GetItemText(c.id));
        EXPECT_LE(metrics.horizontalAdvance(text) + 1, r.width()) << text.toStdString();
    }
    EXPECT_EQ(labels, 8);
    for (const layout::Control& c : CAboutDialog::Controls()) {
        if (c.kind != layout::Kind::Label) continue;
        EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(c.text.data())) + 1,
                  layout::ToPixels(c).Width())
            << c.text;
    }
}

TEST_F(QtMainWindowTest, EveryLabelWidgetShowsItsWholeLineUnderlineIncluded) {
    QtAboutWindow about(QPixmap(), shell, NoCursors, "https://example.org/maker", &window);
    std::vector<std::pair<QWidget*, QString>> labels;
    // The labels have no meta-object of their own: found by their C++ type.
    for (auto* widget : window.findChildren<QWidget*>()) {
        auto* label = dynamic_cast<QtTransparentStatic*>(widget);
        if (label && label->height() < 2 * QFontMetrics(label->font()).height()) {
            labels.emplace_back(label, label->text());
        }
    }
    for (auto* widget : about.findChildren<QWidget*>()) {
        if (auto* label = dynamic_cast<QtLinkStatic*>(widget)) {
            labels.emplace_back(label, label->text());
        }
    }
    EXPECT_EQ(labels.size(), 8u + 3u);
    for (const auto& [widget, text] : labels) {
        const QFontMetrics metrics(widget->font());
        EXPECT_GE(widget->height(), metrics.height()) << text.toStdString();
        EXPECT_GE(widget->width(), metrics.horizontalAdvance(text)) << text.toStdString();
    }
    // The maker's link shows its underline: a row inked under nearly all of its text.
    QWidget* maker = about.findChild<QWidget*>(QString("item%1").arg(CAboutDialog::kMakerName));
    ASSERT_NE(maker, nullptr);
    const QImage shown = maker->grab().toImage();
    const QColor card = shown.pixelColor(shown.width() - 1, 0);
    const qreal advance =
        QFontMetrics(maker->font()).horizontalAdvance("Corvell Co LTD") * shown.devicePixelRatio();
    int longest = 0;
    for (int y = 0; y < shown.height(); ++y) {
        int inked = 0;
        for (int x = 0; x < shown.width(); ++x) inked += shown.pixelColor(x, y) != card ? 1 : 0;
        longest = std::max(longest, inked);
    }
    EXPECT_GE(longest, 0.9 * advance);
}

TEST_F(QtMainWindowTest, HidingAndShowingKeepsThePlaceTheUserChose) {
    Open();
    window.move(147, 110);
    window.ShowWindow(WindowShow::Hide);
    ASSERT_FALSE(window.isVisible());
    dialog.OnCommand(ids::kOpen);
    EXPECT_EQ(window.pos(), QPoint(147, 110));
    window.ShowWindow(WindowShow::Hide);
    window.Raise();
    EXPECT_EQ(window.pos(), QPoint(147, 110)) << "a second start shows it there too";
}

TEST_F(QtMainWindowTest, ClickOnTheBannerOpensTheProductPage) {
    Open();
    QWidget* banner = Item<QWidget>(ids::kBanner);
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->testAttribute(Qt::WA_TransparentForMouseEvents));
    const QPointF inside = banner->geometry().center();
    QMouseEvent press(QEvent::MouseButtonPress, inside, banner->parentWidget()->mapToGlobal(inside),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(banner->parentWidget(), &press);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"https://example.org/product"});
}

// The colour of most pixels in a rectangle of an image, and of the one that stands out most from
// it: a label's ground and its ink.
std::pair<QColor, QColor> GroundAndInk(const QImage& image, const QRect& rect) {
    std::map<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) ++counts[image.pixel(x, y)];
    const QRgb ground = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                            return a.second < b.second;
                        })->first;
    QRgb ink = ground;
    for (const auto& [rgb, n] : counts) {
        if (ContrastRatio(FromQColor(rgb), FromQColor(ground)) >
            ContrastRatio(FromQColor(ink), FromQColor(ground)))
            ink = rgb;
    }
    return {QColor(ground), QColor(ink)};
}

TEST_F(QtMainWindowTest, WindowAndTheNextMenuFollowAPaletteChangedWhileItRuns) {
    const QPalette light = QApplication::palette();
    const auto make = [](QColor face, QColor text, QColor highlight, QColor highlighted) {
        QPalette p(text, face, face.lighter(130), face.darker(130), face.darker(110), text, text,
                   face, face);
        p.setColor(QPalette::Highlight, highlight);
        p.setColor(QPalette::HighlightedText, highlighted);
        return p;
    };
    const struct {
        const char* name;
        QPalette palette;
        bool darkGround;
        bool outlined;  // the light look keeps the style's own faint outline
    } palettes[] = {
        {"dark", make({49, 54, 59}, {252, 252, 252}, {61, 174, 233}, {252, 252, 252}), true, true},
        {"high contrast", make(Qt::black, Qt::white, Qt::cyan, Qt::black), true, true},
        {"light again", light, false, false},
    };
    Open();
    dialog.OnCommand(ids::kDetails);
    QMenu* file = window.findChild<QMenuBar*>()->actions().front()->menu();
    auto* edit = Item<QWidget>(ids::kFrequency1);
    auto* label = Item<QWidget>(ids::kNotice);
    ASSERT_NE(label, nullptr);
    for (const auto& [name, palette, darkGround, outlined] : palettes) {
        QApplication::setPalette(palette);
        Settle();
        const QImage shown = window.grab().toImage();
        const auto [ground, ink] =
            GroundAndInk(shown, QRect(label->mapTo(&window, QPoint()), label->size()));
        EXPECT_EQ(ground.lightness() < 128, darkGround) << name;
        EXPECT_GE(ContrastRatio(FromQColor(ink), FromQColor(ground)), kTextContrast) << name;
        if (outlined) {
            const QPoint left = edit->mapTo(&window, QPoint(0, edit->height() / 2));
            EXPECT_GE(ContrastRatio(FromQColor(shown.pixelColor(left)),
                                    FromQColor(shown.pixelColor(left - QPoint(2, 0)))),
                      kDimContrast)
                << name << ": the edit's outline";
        }
        file->popup(window.mapToGlobal(QPoint()));
        Settle();
        const QImage menu = file->grab().toImage();
        file->close();
        const QRect item = file->actionGeometry(file->actions().front());
        const auto [paper, text] = GroundAndInk(menu, item);
        EXPECT_EQ(paper.lightness() < 128, darkGround) << name;
        EXPECT_GE(ContrastRatio(FromQColor(text), FromQColor(paper)), kTextContrast) << name;
    }
}

TEST_F(QtMainWindowTest, AboutBoxOpensModalWithItsLabelsAndComesForwardWhenOpenedAgain) {
    Open();
    // The keyboard's menus leave the focus on the menu bar, whatever control had it before.
    QWidget* start = Item<QWidget>(ids::kStart);
    window.activateWindow();
    Settle();
    start->setFocus();
    window.findChild<QMenuBar*>()->setFocus(Qt::MenuBarFocusReason);
    std::vector<std::string> seen;
    QTimer::singleShot(0, [&] {
        QtAboutWindow* about = AboutBox();
        if (!about) return;
        seen.push_back(about->windowTitle().toStdString());
        seen.push_back(about->isModal() ? "modal" : "not modal");
        CLinkStatic& maker = about->Link(CAboutDialog::kMakerName);
        seen.push_back(maker.Underline() ? "underlined" : "plain");
        seen.push_back(about->Link(CAboutDialog::kVersionLine).Blinking() ? "blinking" : "still");
        maker.OnLButtonDown();
        dialog.OnCommand(ids::kAbout);  // a second open while it is shown
        seen.push_back(AboutBox() == about ? "same box" : "another box");
        about->reject();
    });
    dialog.OnCommand(ids::kAbout);
    EXPECT_EQ(seen, (std::vector<std::string>{"About Drovane", "modal", "underlined", "blinking",
                                              "same box"}));
    EXPECT_EQ(shell.opened, std::vector<std::string>{"https://example.org/maker"});
    EXPECT_EQ(AboutBox(), nullptr) << "closed";
    Settle();
    EXPECT_EQ(window.focusWidget(), start) << "the focus is back where it was";
    EXPECT_EQ(dialog.OnUpdateCommand(ids::kStart), true);
}

}  // namespace
