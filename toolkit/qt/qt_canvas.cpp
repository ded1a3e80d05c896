#include "toolkit/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "base/qt/qt_text.h"
#include "toolkit/qt/qt_color.h"
#include "toolkit/qt/qt_geometry.h"
#include "toolkit/qt/qt_surface.h"

namespace {

// The part of `from` that lies inside `image`, with `to` moved along; false when nothing does.
bool ClipToImage(const QImage& image, const Rect& from, Point& to, QRect& inside) {
    const QRect wanted(from.left, from.top, from.Width(), from.Height());
    inside = wanted.intersected(image.rect());
    if (inside.isEmpty()) return false;
    to.x += inside.left() - wanted.left();
    to.y += inside.top() - wanted.top();
    return true;
}

int QtFlags(unsigned flags) {
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
    if (!(flags & TextFlags::kNoPrefix)) {
        qtFlags |= (flags & TextFlags::kHidePrefix) ? Qt::TextHideMnemonic : Qt::TextShowMnemonic;
    }
    return qtFlags;
}

}  // namespace

QtStockFonts QtStockFonts::From(const QFont& gui) {
    QFont system = gui;
    if (gui.pixelSize() > 0) {
        system.setPixelSize((gui.pixelSize() * 4 + 1) / 3);
    } else {
        system.setPointSizeF(gui.pointSizeF() * 4 / 3);
    }
    system.setWeight(QFont::Bold);
    return {gui, system};
}

QtStockFonts QtStockFonts::FromApplication() { return From(QGuiApplication::font()); }

QtCanvas::QtCanvas(QPainter& painter) : QtCanvas(painter, QtStockFonts::FromApplication()) {}

QtCanvas::QtCanvas(QPainter& painter, QtStockFonts fonts)
    : m_painter(painter),
      m_image(dynamic_cast<QImage*>(painter.device())),
      m_fonts(std::move(fonts)),
      m_font{FontFace::kGui, painter.font().bold() ? kWeightBold : kWeightNormal} {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void QtCanvas::FillSolidRect(const Rect& rect, Color color) {
    m_painter.fillRect(ToQRect(rect), ToQColor(color));
}

int QtCanvas::Density() const {
    // A ratio such as 1.5 splits no logical pixel into whole device pixels: curves stay logical.
    const qreal ratio = m_painter.device()->devicePixelRatio();
    const int whole = qRound(ratio);
    return whole > 1 && qFuzzyCompare(ratio, qreal(whole)) ? whole : 1;
}

void QtCanvas::FillDeviceRect(const Rect& rect, Color color) {
    // Back in logical units: the painter moves by whole logical pixels, so the edges still fall
    // on device pixels' edges.
    const qreal d = Density();
    m_painter.fillRect(QRectF(rect.left / d, rect.top / d, rect.Width() / d, rect.Height() / d),
                       ToQColor(color));
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
        m_painter.drawLine(ToQPoint(from), ToQPoint(to));
    }
    m_painter.restore();
}

Color QtCanvas::GetPixel(Point at) const {
    if (!m_image) return kInvalidColor;
    // The painter's transform is in the image's logical pixels; a pixel of a high-density image
    // covers several of its own, read at their top left.
    const QPoint device =
        (QPointF(m_painter.transform().map(ToQPoint(at))) * m_image->devicePixelRatio()).toPoint();
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
    const int qtFlags = QtFlags(flags);

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
    const QFontMetrics metrics = m_painter.fontMetrics();
    return {metrics.horizontalAdvance(FromUtf8(text)), metrics.height()};
}

void QtCanvas::SetFont(CanvasFont font) {
    QFont qfont = font.face == FontFace::kSystem ? m_fonts.system : m_fonts.gui;
    qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
    m_painter.setFont(qfont);
    m_font = font;
}

int QtCanvas::GetFontHeight() const { return m_painter.fontMetrics().height(); }

Size QtCanvas::MeasureText(std::string_view text, unsigned flags) const {
    // The advance of the text as shown, as GDI measures it: Qt's own size of a text with mnemonics
    // is its bounding box, which may be a pixel wider.
    QString shown = FromUtf8(text);
    if (!(flags & TextFlags::kNoPrefix)) {
        for (qsizetype i = 0; i + 1 < shown.size(); ++i) {
            if (shown[i] == u'&') shown.remove(i, 1);
        }
    }
    const QFontMetrics metrics = m_painter.fontMetrics();
    return {metrics.horizontalAdvance(shown), metrics.height()};
}

void QtCanvas::DrawTextAt(Point at, std::string_view text, Color color) {
    m_painter.save();
    m_painter.setPen(ToQColor(color));
    m_painter.drawText(QPoint(at.x, at.y + m_painter.fontMetrics().ascent()), FromUtf8(text));
    m_painter.restore();
}

void QtCanvas::DrawTransparent(const Surface& source, const Rect& from, Point to,
                               Color transparent) {
    const auto* surface = dynamic_cast<const QtSurface*>(&source);
    QRect inside;
    if (!surface || !ClipToImage(surface->Image(), from, to, inside)) return;
    QImage part = surface->Image().copy(inside).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(RedOf(transparent), GreenOf(transparent), BlueOf(transparent));
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
        }
    }
    m_painter.drawImage(ToQPoint(to), part);
}

void QtCanvas::DrawSilhouette(const Surface& source, const Rect& from, Point to, Color transparent,
                              Color color) {
    const auto* surface = dynamic_cast<const QtSurface*>(&source);
    QRect inside;
    if (!surface || !ClipToImage(surface->Image(), from, to, inside)) return;
    const QImage& image = surface->Image();
    QImage shape(inside.size(), QImage::Format_ARGB32);
    const QRgb key = qRgb(RedOf(transparent), GreenOf(transparent), BlueOf(transparent));
    const QRgb ink = qRgb(RedOf(color), GreenOf(color), BlueOf(color));
    for (int y = 0; y < shape.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < shape.width(); ++x) {
            const QRgb pixel = image.pixel(inside.left() + x, inside.top() + y);
            line[x] = (pixel & 0xFFFFFF) == (key & 0xFFFFFF) ? 0 : ink;
        }
    }
    m_painter.drawImage(ToQPoint(to), shape);
}

void QtCanvas::CopySurface(const Surface& source, const Rect& from, Point to) {
    const auto* surface = dynamic_cast<const QtSurface*>(&source);
    if (!surface) return;
    // Qt leaves out the part of `from` outside the image.
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_Source);
    m_painter.drawImage(ToQPoint(to), surface->Image(), ToQRect(from));
    m_painter.restore();
}
