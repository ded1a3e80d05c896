#include "banner/qt/qt_link_static.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "base/qt/qt_text.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_color.h"
#include "toolkit/shapes.h"

QtLinkStatic::QtLinkStatic(const QString& text, Shell& shell, CursorLoader cursors, QWidget* parent)
    : QWidget(parent),
      m_text(text),
      m_cursors(std::move(cursors)),
      m_logic(*this, shell, FromQColor(palette().color(QPalette::WindowText)),
              FromQColor(palette().color(QPalette::Button))) {
    // Like a static text, it lets clicks through to its parent until it becomes a link.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_logic.OnTimer(); });
    QtAccessibleLink::Install();
}

std::string QtLinkStatic::GetText() { return ToUtf8(m_text); }

void QtLinkStatic::SetText(std::string_view text) {
    m_text = FromUtf8(text);
    update();
}

void QtLinkStatic::Redraw() { repaint(); }

void QtLinkStatic::StartTimer(int periodMs) { m_timer.start(periodMs); }

void QtLinkStatic::StopTimer() { m_timer.stop(); }

void QtLinkStatic::SetTakesClicks(bool takes) {
    setAttribute(Qt::WA_TransparentForMouseEvents, !takes);
    // Tab only: a click opens the link without leaving the focus mark behind.
    setFocusPolicy(takes ? Qt::TabFocus : Qt::NoFocus);
}

QString QtLinkStatic::LinkName() const { return FromUtf8(m_logic.Caption()); }

QString QtLinkStatic::LinkTarget() const { return FromUtf8(CLinkStatic::LinkAddress()); }

void QtLinkStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_logic.BackColor()));
    QFont letters = font();
    letters.setUnderline(m_logic.Underline());
    painter.setFont(letters);
    painter.setPen(ToQColor(m_logic.ForeColor()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_text);
    if (hasFocus()) {
        QtCanvas canvas(painter);
        shapes::FocusRect(canvas, {0, 0, width(), height()}, m_logic.ForeColor());
    }
}

void QtLinkStatic::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (m_logic.IsLink() &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        m_logic.OnLButtonDown();
        return;
    }
    QWidget::keyPressEvent(event);
}

void QtLinkStatic::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_logic.OnLButtonDown();
    QWidget::mousePressEvent(event);
}

void QtLinkStatic::enterEvent(QEnterEvent* event) {
    const int cursor = m_logic.OnSetCursor();
    const std::optional<QCursor> shape =
        cursor == CLinkStatic::kNoCursor ? std::nullopt : m_cursors(cursor);
    if (shape) {
        setCursor(*shape);
    } else {
        unsetCursor();
    }
    QWidget::enterEvent(event);
}
