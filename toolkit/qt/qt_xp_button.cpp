#include "toolkit/qt/qt_xp_button.h"

#include <QPainter>

#include "toolkit/owner_draw.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_system_colors.h"

QtXPButton::QtXPButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    // The button paints every pixel of itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

unsigned QtXPButton::State() const {
    unsigned state = 0;
    if (isDown()) state |= ods::kSelected;
    if (hasFocus()) state |= ods::kFocus;
    if (isDefault()) state |= ods::kDefault;
    if (!isEnabled()) state |= ods::kDisabled;
    return state;
}

void QtXPButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtCanvas canvas(painter);
    // The palette may have changed since the last paint: the colours follow it.
    m_look.SetLook(QtFlatLook(palette()).button);
    m_look.DrawItem(canvas, {0, 0, width(), height()}, State(), text().toStdString());
}

void QtXPButton::enterEvent(QEnterEvent* event) {
    // Qt tells when the mouse enters; the hover notice follows at once.
    m_look.OnMouseMove([] { return true; });
    if (m_look.OnMouseHover() != CXPButton::Repaint::kNone) update();
    QPushButton::enterEvent(event);
}

void QtXPButton::leaveEvent(QEvent* event) {
    if (m_look.OnMouseLeave() != CXPButton::Repaint::kNone) update();
    QPushButton::leaveEvent(event);
}
