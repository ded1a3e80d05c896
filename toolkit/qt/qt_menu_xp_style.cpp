#include "toolkit/qt/qt_menu_xp_style.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include "toolkit/menu_xp.h"
#include "toolkit/owner_draw.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_color.h"
#include "toolkit/qt/qt_geometry.h"
#include "toolkit/qt/qt_menu_access.h"
#include "toolkit/qt/qt_menu_xp.h"
#include "toolkit/qt/qt_system_colors.h"

namespace {

// The flat menus put the action an option stands for into its style object.
const QAction* ActionOf(const QStyleOption* option) {
    return option ? qobject_cast<const QAction*>(option->styleObject) : nullptr;
}

}  // namespace

QtMenuXPStyle::QtMenuXPStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {
    setParent(qApp);
}

QtMenuXPStyle* QtMenuXPStyle::Instance() {
    static QPointer<QtMenuXPStyle> style;
    if (!style) style = new QtMenuXPStyle;
    return style;
}

int QtMenuXPStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
    switch (metric) {
        case PM_MenuPanelWidth:
            return kFrame;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuBarPanelWidth:
        case PM_MenuBarHMargin:
        case PM_MenuBarVMargin:
        case PM_MenuBarItemSpacing:
        case PM_MenuDesktopFrameWidth:
            return 0;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QSize QtMenuXPStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& size, const QWidget* widget) const {
    const QAction* action = ActionOf(option);
    if ((type == CT_MenuItem || type == CT_MenuBarItem) && action) {
        const Size s = CMenuXP::MeasureItem(QtMenuAccess::ItemData(action));
        if (type == CT_MenuItem) return {s.width, s.height};
        // Windows lays menu-bar items out wider than they measure, so that a text stays clear of
        // its tab's outline; the bar is as high as a pop-up item.
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainter painter(&probe);
        QtCanvas canvas(painter);
        canvas.SetFont({});
        return {s.width + kMenuBarItemSpacing, CMenuXP::ItemHeight(canvas.GetFontHeight())};
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void QtMenuXPStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case CE_MenuItem:
            DrawMenuItem(option, painter, widget, false);
            return;
        case CE_MenuBarItem:
            DrawMenuItem(option, painter, widget, true);
            return;
        case CE_MenuEmptyArea:
            return;  // the frame and the shadow are the menu's
        case CE_MenuBarEmptyArea:
            painter->fillRect(option->rect, ToQColor(QtFlatLook(option->palette).menu.face));
            return;
        default:
            QProxyStyle::drawControl(element, option, painter, widget);
    }
}

void QtMenuXPStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case PE_PanelMenu:
        case PE_FrameMenu:
            return;
        case PE_PanelMenuBar:
            painter->fillRect(option->rect, ToQColor(QtFlatLook(option->palette).menu.face));
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void QtMenuXPStyle::DrawMenuItem(const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget, bool menuBar) const {
    const QAction* action = ActionOf(option);
    if (!action || !widget) {
        QProxyStyle::drawControl(menuBar ? CE_MenuBarItem : CE_MenuItem, option, painter, widget);
        return;
    }
    // Pop-up items are painted in the menu's client coordinates, inside its frame.
    const QRect r = option->rect;
    const QPoint client = menuBar ? QPoint(0, 0) : QPoint(kFrame, kFrame);
    DrawItemRecord record;
    record.itemID = QtMenuAccess::Command(action);
    record.menu = QtMenuAccess::Handle(widget);
    record.rcItem = FromQRect(r.translated(-client));
    record.itemData = QtMenuAccess::ItemData(action);
    const bool selected = option->state & State_Selected;
    if (menuBar) {
        // Open: its pop-up shows; selected alone: under the mouse or the keyboard.
        if (selected && (option->state & State_Sunken)) {
            record.itemState |= ods::kSelected;
        } else if (selected) {
            record.itemState |= ods::kHotLight;
        }
        if (!widget->isActiveWindow()) record.itemState |= ods::kInactive;
    } else if (selected) {
        record.itemState |= ods::kSelected;
    }
    const bool cues = QProxyStyle::styleHint(SH_UnderlineShortcut, option, widget) != 0;
    if (!cues) record.itemState |= ods::kNoAccel;

    // Off screen, where the painter can read back what it painted, at the screen's resolution.
    const qreal ratio = painter->device()->devicePixelRatioF();
    QImage buffer(r.size() * ratio, QImage::Format_RGB32);
    buffer.setDevicePixelRatio(ratio);
    {
        QPainter bufferPainter(&buffer);
        bufferPainter.translate(-record.rcItem.left, -record.rcItem.top);
        QtCanvas canvas(bufferPainter);
        QtMenuAccess menus;
        bool open = false;
        if (!CMenuXP::DrawItem(record, menus, canvas, QtSystemColors(option->palette), cues,
                               &open)) {
            return;  // nothing painted, nothing to show
        }
        if (open) {
            if (const auto* bar = qobject_cast<const QMenuBar*>(widget)) {
                QtMenuBarXP::PlaceOpenItem(*bar);
            }
        }
    }
    painter->drawImage(r.topLeft(), buffer);
}
