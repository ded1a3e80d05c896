#include "toolkit/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdlib>

#include "base/qt/qt_text.h"
#include "toolkit/qt/qt_color.h"
#include "toolkit/qt/qt_surface.h"

QtCanvas::QtCanvas(QPainter& painter)
    : m_painter(painter), m_image(dynamic_cast<QImage*>(painter.device())) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void QtCanvas::FillSolidRect(const Rect& rect, Color color) {
    m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

void QtCanvas::DrawLine(Point from, Point to, Color color) {
    if (from == to) return;
    // A flat cap leaves the end point out, as GDI's line drawing does.
    QPen pen(ToQColor(color), 1, Qt::SolidLine, Qt::FlatCap);
    m_painter.save();
    m_painter.setPen(pen);
    if (from.y == to.y || from.x == to.x) {
        // Axis-aligned lines are filled pixel rectangles: exact whatever the pen rules.
        const int x0 = std::min(from.x, to.x) + (to.x < from.x ? 1 : 0);
        const int y0 = std::min(from.y, to.y) + (to.y < from.y ? 1 : 0);
        const int w = from.y == to.y ? std::abs(to.x - from.x) : 1;
        const int h = from.x == to.x ? std::abs(to.y - from.y) : 1;
        m_painter.fillRect(QRect(x0, y0, w, h), ToQColor(color));
    } else {
        m_painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
    }
    m_painter.restore();
}

Color QtCanvas::GetPixel(Point at) const {
    if (!m_image) return kInvalidColor;
    const QPoint device = m_painter.transform().map(QPoint(at.x, at.y));
    if (!m_image->rect().contains(device)) return kInvalidColor;
    const QRgb rgb = m_image->pixel(device);
    return Rgb(static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
               static_cast<std::uint8_t>(qBlue(rgb)));
}

void QtCanvas::SetPixel(Point at, Color color) {
    m_painter.fillRect(QRect(at.x, at.y, 1, 1), ToQColor(color));
}

void QtCanvas::DrawText(std::string_view utf8, const Rect& rect, unsigned flags, Color color) {
    QString text = FromUtf8(utf8);
    const QRect box(rect.left, rect.top, rect.Width(), rect.Height());
    int qtFlags = 0;
    if (flags & TextFlags::kRight) {
        qtFlags |= Qt::AlignRight;
    } else if (flags & TextFlags::kCenter) {
        qtFlags |= Qt::AlignHCenter;
    } else {
        qtFlags |= Qt::AlignLeft;
    }
    const bool singleLine = (flags & TextFlags::kSingleLine) != 0;
    qtFlags |= singleLine && (flags & TextFlags::kVCenter) ? Qt::AlignVCenter : Qt::AlignTop;
    if (singleLine) {
        qtFlags |= Qt::TextSingleLine;
    } else if (flags & TextFlags::kWordBreak) {
        qtFlags |= Qt::TextWordWrap;
    }
    if (!(flags & TextFlags::kNoPrefix)) qtFlags |= Qt::TextShowMnemonic;

    const unsigned ellipsis =
        flags & (TextFlags::kEndEllipsis | TextFlags::kPathEllipsis | TextFlags::kWordEllipsis);
    if (ellipsis) {
        const Qt::TextElideMode mode =
            (flags & TextFlags::kPathEllipsis) ? Qt::ElideMiddle : Qt::ElideRight;
        text = QFontMetrics(m_painter.font()).elidedText(text, mode, box.width(), qtFlags);
    }
    m_painter.save();
    m_painter.setPen(ToQColor(color));
    m_painter.drawText(box, qtFlags, text);
    m_painter.restore();
}

Size QtCanvas::GetTextExtent(std::string_view text) const {
    const QFontMetrics metrics(m_painter.font());
    return {metrics.horizontalAdvance(FromUtf8(text)), metrics.height()};
}

void QtCanvas::CopySurface(const Surface& source, const Rect& from, Point to) {
    const auto* surface = dynamic_cast<const QtSurface*>(&source);
    if (!surface) return;
    // Qt leaves out the part of `from` outside the image.
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_Source);
    m_painter.drawImage(QPoint(to.x, to.y), surface->Image(),
                        QRect(from.left, from.top, from.Width(), from.Height()));
    m_painter.restore();
}
