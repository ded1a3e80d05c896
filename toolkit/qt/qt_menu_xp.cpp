#include "toolkit/qt/qt_menu_xp.h"

#include <QActionEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyleOptionMenuItem>

#include "toolkit/menu_xp.h"
#include "toolkit/qt/compositor.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_color.h"
#include "toolkit/qt/qt_geometry.h"
#include "toolkit/qt/qt_menu_access.h"
#include "toolkit/qt/qt_menu_xp_style.h"
#include "toolkit/qt/qt_surface.h"
#include "toolkit/qt/qt_system_colors.h"

namespace {

// Converts the items of `widget` and makes its layout take their new measures.
void ConvertItems(QWidget& widget, bool menuBar) {
    QtMenuAccess menus;
    const QList<QAction*> actions = widget.actions();
    std::vector<std::uint32_t> before;
    for (const QAction* action : actions) before.push_back(QtMenuAccess::ItemData(action));
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    QtCanvas canvas(painter);
    CMenuXP::ConvertMenu(menus, QtMenuAccess::Handle(&widget), true, menuBar, canvas);
    for (qsizetype i = 0; i < actions.size(); ++i) {
        if (QtMenuAccess::ItemData(actions[i]) == before[static_cast<std::size_t>(i)]) continue;
        QActionEvent changed(QEvent::ActionChanged, actions[i]);
        QCoreApplication::sendEvent(&widget, &changed);
    }
}

// The screen behind the menu that hid last, while the windows it uncovered may not have been
// painted again: a menu that shows at once in its place takes that part from here.
struct Uncovered {
    QRect area;
    QImage behind;
    qint64 hiddenAt = 0;
};
Uncovered& LastUncovered() {
    static Uncovered uncovered;
    return uncovered;
}
constexpr qint64 kRepaintMs = 1000;

}  // namespace

QtMenuXP::QtMenuXP(const QString& title, QWidget* parent) : QMenu(title, parent) {
    setStyle(QtMenuXPStyle::Instance());
    QtMenuAccess::Register(this);
    connect(this, &QMenu::aboutToShow, this, [this] {
        Convert();
        // Room for the shadow, which only an X11 desktop without compositing lets us make.
        m_shadows = !DesktopComposites();
        const int room = m_shadows ? CMenuWndXP::kShadow : 0;
        setContentsMargins(0, 0, room, room);
    });
}

QtMenuXP::~QtMenuXP() = default;

void QtMenuXP::Convert() { ConvertItems(*this, false); }

void QtMenuXP::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    option->styleObject = const_cast<QAction*>(action);
}

void QtMenuXP::showEvent(QShowEvent* event) {
    // The window system's size is the menu's without the room for the shadow; the toolkit adds
    // that room back and lifts the menu onto the last row of a menu-bar item it hangs from.
    m_window.emplace(m_shadows);
    const QRect g = geometry();
    const int room = m_shadows ? CMenuWndXP::kShadow : 0;
    CMenuWndXP::WindowPos pos{g.x(), g.y(), g.width() - room, g.height() - room};
    const QRect work = screen() ? screen()->availableGeometry() : QRect();
    m_window->OnWindowPosChanging(
        pos, {work.left(), work.top(), work.left() + work.width(), work.top() + work.height()});
    setGeometry(pos.x, pos.y, pos.cx, pos.cy);
    // The open menu-bar item is painted before the pop-up, so that the pop-up can join it.
    if (auto* bar = qobject_cast<QMenuBar*>(parentWidget()); bar && bar->isVisible()) {
        bar->repaint();
    }
    if (m_shadows) TakeSnapshot();
    QMenu::showEvent(event);
}

void QtMenuXP::TakeSnapshot() {
    const QRect area = geometry();
    const Rect wanted =
        m_window->SnapshotRect({area.width() - 2 * QtMenuXPStyle::kFrame - CMenuWndXP::kShadow,
                                area.height() - 2 * QtMenuXPStyle::kFrame - CMenuWndXP::kShadow});
    const QRect grab(wanted.left, wanted.top, wanted.Width(), wanted.Height());
    QImage behind;
    if (QScreen* screen = QGuiApplication::screenAt(grab.topLeft())) {
        const QRect onScreen = grab.translated(-screen->geometry().topLeft());
        behind = screen->grabWindow(0, onScreen.x(), onScreen.y(), grab.width(), grab.height())
                     .toImage()
                     .convertToFormat(QImage::Format_RGB32);
        // The shadow is made in logical pixels: a high-density screen's picture comes down to them.
        if (!behind.isNull() && behind.size() != grab.size()) {
            behind = behind.scaled(grab.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            behind.setDevicePixelRatio(1);
        }
    }
    if (behind.size() != grab.size()) {
        // Nothing to read: the shadow falls on the menu's own face colour.
        behind = QImage(grab.size(), QImage::Format_RGB32);
        behind.fill(ToQColor(QtFlatLook(palette()).menu.face));
    }
    const Uncovered& last = LastUncovered();
    if (QDateTime::currentMSecsSinceEpoch() - last.hiddenAt < kRepaintMs &&
        last.area.intersects(grab)) {
        QPainter patch(&behind);
        patch.drawImage(last.area.topLeft() - grab.topLeft(), last.behind);
    }
    m_snapshot = std::make_unique<QtSurface>(std::move(behind));
}

void QtMenuXP::hideEvent(QHideEvent* event) {
    if (m_snapshot) {
        LastUncovered() = {geometry(), m_snapshot->Image().copy(QRect(QPoint(0, 0), size())),
                           QDateTime::currentMSecsSinceEpoch()};
    }
    m_snapshot.reset();
    m_window.reset();
    QMenu::hideEvent(event);
}

void QtMenuXP::paintEvent(QPaintEvent* event) {
    const std::uint8_t drawn = CMenuXP::ms_nDrawCount;
    QMenu::paintEvent(event);
    if (!m_window) return;
    // Items repaint as the mouse moves over them: the frame and the shadow stay as they are.
    const int room = m_shadows ? CMenuWndXP::kShadow : 0;
    const int frame = QtMenuXPStyle::kFrame;
    const QRect items = rect().adjusted(frame, frame, -frame - room, -frame - room);
    if (items.contains(event->region().boundingRect())) return;
    QPainter painter(this);
    QtCanvas canvas(painter);
    m_window->OnPrint(canvas, m_snapshot.get(), FromQRect(geometry()),
                      CMenuXP::ms_nDrawCount != drawn, QtSystemColors(palette()));
}

void QtMenuXP::keyPressEvent(QKeyEvent* event) {
    // Mnemonics are the toolkit's: the first item whose text marks the letter runs at once.
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (plain && text.size() == 1 && text[0].isPrint()) {
        QtMenuAccess menus;
        const std::uint32_t found = CMenuXP::FindMnemonic(menus, QtMenuAccess::Handle(this),
                                                          text[0].unicode(), menu_bits::kPopup);
        const QList<QAction*> items = actions();
        const qsizetype position = found & 0xFFFF;
        if (found && position < items.size()) {
            setActiveAction(items[position]);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QMenu::keyPressEvent(&enter);
            return;
        }
    }
    QMenu::keyPressEvent(event);
}

QtMenuBarXP::QtMenuBarXP(QWidget* parent) : QMenuBar(parent) {
    setStyle(QtMenuXPStyle::Instance());
    QtMenuAccess::Register(this);
}

void QtMenuBarXP::Convert() { ConvertItems(*this, true); }

void QtMenuBarXP::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenuBar::initStyleOption(option, action);
    option->styleObject = const_cast<QAction*>(action);
}

// Its items' text takes the window's activation, which the palette alone does not show: Qt
// repaints on activation only where the palette's active and inactive colours differ.
bool QtMenuBarXP::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        update();
    }
    return QMenuBar::event(event);
}

void QtMenuBarXP::PlaceOpenItem(const QMenuBar& bar) {
    const QList<QAction*> items = bar.actions();
    if (items.isEmpty()) return;
    const QRect first = bar.actionGeometry(items.first());
    const QPoint firstOnScreen = bar.mapToGlobal(first.topLeft());
    // The pop-up's frame expects the item where Windows reports a dialog's menu-bar item: in
    // window coordinates, 3 pixels of frame to the right (and the 1 of a dialog, which the toolkit
    // adds itself).
    const QPoint origin = bar.mapToGlobal(QPoint(0, 0)) + QPoint(3, 0);
    CMenuXP::PlaceMenuBarItem(
        {origin.x(), origin.y()},
        {firstOnScreen.x(), firstOnScreen.y(), firstOnScreen.x() + first.width(),
         firstOnScreen.y() + first.height()},
        true);
}
