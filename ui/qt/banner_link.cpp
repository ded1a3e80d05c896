#include "ui/qt/banner_link.h"

#include <QKeyEvent>
#include <QPainter>

#include "toolkit/qt/qt_canvas.h"
#include "toolkit/shapes.h"

BannerLink::BannerLink(QString name, std::function<QString()> target, std::function<void()> open,
                       QWidget* parent)
    : QtAnimatedPicture(parent),
      m_name(std::move(name)),
      m_target(std::move(target)),
      m_open(std::move(open)) {
    // Tab only: a click on the banner leaves the focus where it was, as before.
    setFocusPolicy(Qt::TabFocus);
    QtAccessibleLink::Install();
}

void BannerLink::paintEvent(QPaintEvent* event) {
    QtAnimatedPicture::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QtCanvas canvas(painter);
    shapes::FocusRect(canvas, {0, 0, width(), height()}, Rgb(0, 0, 0));
}

void BannerLink::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        m_open();
        return;
    }
    QtAnimatedPicture::keyPressEvent(event);
}
