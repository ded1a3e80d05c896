#include "banner/qt/qt_transparent_static.h"

#include <QPainter>

#include "banner/transparent_static.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_system_colors.h"

QtTransparentStatic::QtTransparentStatic(const QString& text, unsigned style, QWidget* parent)
    : QLabel(text, parent), m_style(style) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void QtTransparentStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    QtCanvas canvas(painter);
    const QByteArray utf8 = text().toUtf8();
    transparent_static::Paint(
        canvas, {0, 0, width(), height()},
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), m_style,
        QtFlatLook(palette()).window.text);
}
