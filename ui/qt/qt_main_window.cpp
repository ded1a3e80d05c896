#include "ui/qt/qt_main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <algorithm>

#include "banner/qt/qt_animated_picture.h"
#include "banner/qt/qt_transparent_static.h"
#include "base/qt/qt_text.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_geometry.h"
#include "toolkit/qt/qt_menu_xp.h"
#include "toolkit/qt/qt_system_colors.h"
#include "toolkit/qt/qt_xp_button.h"
#include "toolkit/qt/spoken_notice.h"
#include "ui/control_names.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/dialog_painter.h"
#include "ui/menu_model.h"
#include "ui/qt/banner_link.h"
#include "ui/qt/maximise_undo.h"
#include "ui/qt/qt_about_window.h"
#include "ui/qt/qt_label_fit.h"
#include "ui/qt/qt_menu.h"
#include "ui/qt/ui_translation.h"
#include "ui/repeller_dialog.h"

namespace {

// The client area: paints the gradient behind the (unclipped, transparent) labels, reports clicks
// that no control takes, and asks which cursor to show where no control decides it.
class DialogClient final : public QWidget {
public:
    DialogClient(QWidget* parent, std::function<void(Point)> clicked,
                 std::function<bool(Point)> handCursor, QtLinkStatic::CursorLoader cursors)
        : QWidget(parent),
          m_clicked(std::move(clicked)),
          m_handCursor(std::move(handCursor)),
          m_cursors(std::move(cursors)) {
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QtCanvas canvas(painter);
        const WindowLook look = QtFlatLook(palette()).window;
        // Below the gradient, or without one, the look's ground.
        canvas.FillSolidRect({0, 0, width(), height()}, look.ground);
        dialog_painter::PaintBackground(canvas, width(), DialogScale(), {}, look);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) m_clicked(ToPoint(event));
        QWidget::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const bool hand = m_handCursor(ToPoint(event));
        if (hand != m_showingHand) {
            m_showingHand = hand;
            const std::optional<QCursor> shape =
                hand ? m_cursors(CAboutDialog::kHandCursor) : std::nullopt;
            if (shape) {
                setCursor(*shape);
            } else {
                unsetCursor();
            }
        }
        QWidget::mouseMoveEvent(event);
    }

private:
    static Point ToPoint(QMouseEvent* event) {
        const QPoint p = event->position().toPoint();
        return {p.x(), p.y()};
    }

    std::function<void(Point)> m_clicked;
    std::function<bool(Point)> m_handCursor;
    QtLinkStatic::CursorLoader m_cursors;
    bool m_showingHand = false;
};

// The frame round the notice and the check box: etched lines only, the gradient shows inside.
class EtchedFrame final : public QWidget {
public:
    explicit EtchedFrame(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QtCanvas canvas(painter);
        dialog_painter::PaintEtchedFrame(canvas, {0, 0, width(), height()},
                                         QtFlatLook(palette()).window);
    }
};

// The check box's place, grown about its centre where the style's mark is larger than the
// template's box: a clipped mark loses its top and bottom edges and reads as two bars.
QRect AroundMark(const QCheckBox& box, QRect rect) {
    const QStyle* style = box.style();
    const int width = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &box);
    const int height = style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, &box);
    const int dx = std::max(0, width - rect.width());
    const int dy = std::max(0, height - rect.height());
    return rect.adjusted(-dx / 2, -dy / 2, dx - dx / 2, dy - dy / 2);
}

}  // namespace

QtMainWindow::QtMainWindow(WindowArt art, Shell& shell, std::string makerPage,
                           const MakeLogic& makeLogic, QWidget* parent)
    : QDialog(parent), m_art(std::move(art)), m_shell(shell), m_makerPage(std::move(makerPage)) {
    // Only the hints named here: no maximise button, whatever the platform's defaults.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(Translated(layout::kCaption));
    setObjectName("QtMainWindow");
    BuildMenuBar();
    m_client = new DialogClient(
        this, [this](Point p) { m_logic->OnLButtonDown(p); },
        [this](Point p) { return m_logic->OnSetCursor(p); }, m_art.cursors);
    const Size client = layout::ClientPixels();
    const int menuHeight = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, client.width, menuHeight);
    m_client->setGeometry(0, menuHeight, client.width, client.height);
    BuildControls();
    setFixedSize(client.width, menuHeight + client.height);
    UndoMaximiseOnWayland(this);
    m_notice = new SpokenNotice(this);
    m_logic = makeLogic(*this);
    // The menu bar takes the focus while the keyboard works its menus; the control it came from is
    // the one the focus goes back to.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now != m_menuBar && isAncestorOf(now)) m_focusBeforeMenus = now;
    });
}

QtMainWindow::~QtMainWindow() {
    // The controls go while the logic their events reach is still there.
    m_destroyed = true;
    delete m_client;
    delete m_menuBar;
}

void QtMainWindow::BuildMenuBar() {
    auto* bar = new QtMenuBarXP(this);
    m_menuBar = bar;
    m_menuBar->setNativeMenuBar(false);
    for (const MenuPopup& popup : FindMenu(ids::kMenuBar)) {
        auto* menu = new QtMenuXP(FromUtf8(popup.title), m_menuBar);
        m_menuBar->addMenu(menu);
        qt_menu::Fill(*menu, popup, [this](int command) { Command(command); });
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    }
    bar->Convert();
    // F10 opens the first menu, as on the desktops that the keyboard's users know.
    connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, this,
            [this] { m_menuBar->setActiveAction(m_menuBar->actions().value(0)); });
}

void QtMainWindow::UpdateMenu(QMenu* menu) {
    qt_menu::UpdateChecks(*menu, [this](int command) { return m_logic->OnUpdateCommand(command); });
}

void QtMainWindow::BuildControls() {
    QWidget* frame = nullptr;
    for (const layout::Control& c : layout::Controls()) {
        QRect rect = ToQRect(layout::ToPixels(c));
        const QString text = Translated(c.text);
        QWidget* widget = nullptr;
        switch (c.kind) {
            case layout::Kind::PushButton: {
                auto* button = new QtXPButton(text, m_client);
                button->setDefault(c.isDefault);
                const int id = c.id;
                connect(button, &QPushButton::clicked, this, [this, id] { Command(id); });
                widget = button;
                break;
            }
            case layout::Kind::Edit: {
                auto* edit = new QLineEdit(m_client);
                edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                edit->setValidator(
                    new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
                edit->setTextMargins(0, 0, 0, 0);
                widget = edit;
                break;
            }
            case layout::Kind::CheckBox: {
                auto* box = new QCheckBox(m_client);
                const int id = c.id;
                // A click, Space and a screen reader's toggle all change the mark: each is the
                // box's click. A mark the program sets is not.
                connect(box, &QCheckBox::toggled, this, [this, id] {
                    if (!m_settingCheck) Command(id);
                });
                rect = AroundMark(*box, rect);
                widget = box;
                break;
            }
            case layout::Kind::Label:
                widget = new QtTransparentStatic(text, 0, m_client);
                break;
            case layout::Kind::Bitmap: {
                auto* picture = new QLabel(m_client);
                picture->setPixmap(m_art.speaker);
                picture->setAttribute(Qt::WA_TransparentForMouseEvents);
                picture->setGeometry(
                    QRect(rect.topLeft(), m_art.speaker.deviceIndependentSize().toSize()));
                continue;
            }
            case layout::Kind::GroupBox:
                widget = frame = new EtchedFrame(m_client);
                break;
            case layout::Kind::Banner:
                // Its clicks and the cursor over it are the window's: they reach the client area.
                m_banner = new BannerLink(
                    FromUtf8(CRepellerDialog::kBannerName),
                    [this] { return FromUtf8(m_logic->ProductPage()); },
                    [this] { m_logic->OpenProductPage(); }, m_client);
                widget = m_banner;
                break;
        }
        widget->setGeometry(rect);
        if (c.hidden) {
            widget->hide();
            m_hiddenItems.insert(widget);
        }
        if (c.id != 0) {
            widget->setObjectName(QString("item%1").arg(c.id));
            m_items.insert(c.id, widget);
        }
    }
    // Once every control is in place: a label grows only as far as its neighbours leave room.
    for (QWidget* w : std::as_const(m_items)) {
        if (auto* label = dynamic_cast<QtTransparentStatic*>(w))
            FitLabelToText(*label, label->text());
    }
    // The banner's picture reaches down over the frame's top line; the frame, only lines, goes on
    // top, so that its line runs on over the picture's plain lower edge.
    if (frame) frame->raise();
    NameControls();
    OutlineControls();
}

// Qt's own styles outline a check box and an edit in a shade darker than the window, which on a
// dark or black window hardly shows. There the outline is drawn from the text's colour; the light
// look keeps the style's own.
void QtMainWindow::OutlineControls() {
    QPalette outline;
    if (QtFlatLook(palette()).scheme != Scheme::kLight) {
        outline.setColor(QPalette::Window, palette().color(QPalette::WindowText));
    }
    for (QWidget* w : std::as_const(m_items)) {
        if (qobject_cast<QCheckBox*>(w) || qobject_cast<QLineEdit*>(w)) w->setPalette(outline);
    }
}

// A screen reader takes a control's name from the label that labels it, if any: only a label
// whose text is the whole name labels its control. An edit named with its unit ("Frequency (Hz)",
// from "Frequency" and a part of "(Hz) to") goes by its own name.
void QtMainWindow::NameControls() {
    const auto label = [this](int id) { return qobject_cast<QLabel*>(m_items.value(id)); };
    for (const control_names::Naming& n : control_names::Namings()) {
        QWidget* control = m_items.value(n.control);
        const QString name =
            FromUtf8(control_names::NameOf(n, [this](int id) { return GetItemText(id); }));
        control->setAccessibleName(name);
        QLabel* before = label(n.label);
        before->setBuddy(before->text().trimmed() == name ? control : nullptr);
    }
}

void QtMainWindow::Command(int id) {
    m_logic->OnCommand(id);
    if (m_commanded) m_commanded();
}

std::string QtMainWindow::GetItemText(int id) {
    QWidget* w = m_items.value(id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        text = edit->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        text = button->text();
    } else if (auto* label = dynamic_cast<QtTransparentStatic*>(w)) {
        text = label->text();
    }
    return text.toStdString();
}

std::string QtMainWindow::Text(UiText text) { return ToUtf8(Translated(English(text))); }

void QtMainWindow::SetItemText(int id, std::string_view text) {
    QWidget* w = m_items.value(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(FromUtf8(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(FromUtf8(text));
    } else if (auto* label = dynamic_cast<QtTransparentStatic*>(w)) {
        label->setText(FromUtf8(text));
        NameControls();
    }
}

int QtMainWindow::GetCheck(int id) {
    auto* box = qobject_cast<QCheckBox*>(m_items.value(id));
    return box && box->isChecked() ? 1 : 0;
}

void QtMainWindow::SetCheck(int id, int state) {
    if (auto* box = qobject_cast<QCheckBox*>(m_items.value(id))) {
        m_settingCheck = true;
        box->setChecked(state != 0);
        m_settingCheck = false;
    }
}

void QtMainWindow::ShowItem(int id, bool show) {
    QWidget* w = m_items.value(id);
    if (!w) return;
    if (show) {
        m_hiddenItems.remove(w);
    } else {
        m_hiddenItems.insert(w);
    }
    ShowWhatTheWindowHolds();
}

// Qt counts a widget below its window's edge as shown: Tab and screen readers would reach the
// labels and the picture that the fold puts out of sight.
void QtMainWindow::ShowWhatTheWindowHolds() {
    const int bottom = height() - m_client->y();
    for (QWidget* w : m_client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        w->setVisible(!m_hiddenItems.contains(w) && w->y() < bottom);
    }
}

void QtMainWindow::FocusItem(int id) {
    QWidget* w = m_items.value(id);
    if (!w) return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
}

Rect QtMainWindow::GetItemRect(int id) {
    QWidget* w = m_items.value(id);
    if (!w) return {};
    return FromQRect(w->geometry());
}

Size QtMainWindow::MapDialogUnits(Size units) {
    return {layout::HorizontalPixels(units.width), layout::VerticalPixels(units.height)};
}

Size QtMainWindow::GetWindowSize() { return {width(), height()}; }

void QtMainWindow::SetWindowSize(Size size) {
    setFixedSize(size.width, size.height);
    ShowWhatTheWindowHolds();
}

// On Windows the trimmed pixel belongs to the window's own frame. Here the window manager draws the
// frame, and the outermost pixel of the window is content (the menu bar, the gradient): trim none.
void QtMainWindow::SetWindowRegion(const Rect&) {}

void QtMainWindow::ShowWindow(WindowShow how) {
    switch (how) {
        case WindowShow::Hide:
            m_hiddenAt = pos();
            hide();
            break;
        case WindowShow::Normal:
            // A dialog shown again is centred anew unless it was placed: put it back where it was.
            if (m_hiddenAt && isHidden()) move(*m_hiddenAt);
            showNormal();
            break;
        case WindowShow::Minimize:
            showMinimized();
            break;
    }
}

void QtMainWindow::BringToFront() {
    raise();
    activateWindow();
}

void QtMainWindow::Raise(const QString& activationToken) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // Qt hands this token to the compositor at the next activation.
        if (!activationToken.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
        // A Wayland client cannot take its window back from the minimised state, nor know that
        // it is there: mapping the window anew brings it back.
        if (isVisible()) hide();
    }
    ShowWindow(WindowShow::Normal);
    BringToFront();
    // A message box or other modal pop-up of ours goes in front of the window.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
        modal->show();
        modal->raise();
        modal->activateWindow();
    }
}

void QtMainWindow::SetIcons() { setWindowIcon(m_art.icon); }

void QtMainWindow::MarkRunningCopy() {
    if (m_marked) m_marked();
}

void QtMainWindow::DestroyWindow() {
    m_destroyed = true;
    hide();
    QCoreApplication::exit(0);
}

bool QtMainWindow::IsTrayAvailable() { return m_trayAvailable && m_trayAvailable(); }

bool QtMainWindow::LoadBanner(int id, std::string_view type) {
    return m_art.resources && m_banner->LoadFromResource(*m_art.resources, id, type);
}

void QtMainWindow::StartBanner() {
    // A banner that cannot show leaves its place empty; the window works without it.
    static_cast<void>(m_banner->StartShowing());
}

void QtMainWindow::ShowAboutBox() {
    if (m_about) {
        m_about->show();
        m_about->raise();
        m_about->activateWindow();
        return;
    }
    QtAboutWindow about(m_art.aboutPicture, m_shell, m_art.cursors, m_makerPage, this);
    m_about = &about;
    // Modal to this window only, so that the tray icon's menu still works while it is open; a
    // hidden window leaves it to the middle of the screen.
    about.setWindowModality(Qt::WindowModal);
    if (!isVisible()) {
        const QRect screenArea = screen()->availableGeometry();
        about.move(screenArea.center() - QPoint(about.width() / 2, about.height() / 2));
    }
    about.exec();
    // A box opened from menus the keyboard opened and closed before leaves the focus on the menu
    // bar, where the window found it when the box came up: it goes back to the control instead.
    QWidget* focus = focusWidget();
    if (m_focusBeforeMenus && (!focus || focus == m_menuBar)) {
        m_focusBeforeMenus->setFocus(Qt::OtherFocusReason);
    }
}

void QtMainWindow::Announce(std::string_view message) { m_notice->Say(FromUtf8(message)); }

void QtMainWindow::reject() { m_logic->OnCancel(); }

void QtMainWindow::closeEvent(QCloseEvent* event) {
    if (m_destroyed) {
        event->accept();
        return;
    }
    event->ignore();
    m_logic->OnClose();
}

void QtMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) OutlineControls();
    QDialog::changeEvent(event);
}
