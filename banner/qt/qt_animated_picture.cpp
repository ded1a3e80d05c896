#include "banner/qt/qt_animated_picture.h"

#include <QApplication>
#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QtMath>
#include <string>

#include "base/resource_source.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_surface.h"

namespace {

constexpr qreal kLargeRatio = 2;

Color ToColor(const QColor& c) {
    return Rgb(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
               static_cast<std::uint8_t>(c.blue()));
}

PictureColors SystemColors(const QPalette& palette) {
    return {ToColor(QApplication::palette("QMenu").color(QPalette::Window)),
            ToColor(palette.color(QPalette::Button))};
}

}  // namespace

QtAnimatedPicture::QtAnimatedPicture(QWidget* parent, std::shared_ptr<FrameWaiter> waiter)
    : QWidget(parent),
      m_picture(
          m_decoder, std::make_shared<QtSurfaceFactory>(), SystemColors(palette()),
          // From the animation thread: update() itself may only run on the widget's thread.
          [this] { QMetaObject::invokeMethod(this, "update", Qt::QueuedConnection); },
          std::move(waiter)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool QtAnimatedPicture::LoadFromResource(const ResourceSource& resources, int id,
                                         std::string_view type) {
    m_startOnShow = false;
    if (devicePixelRatioF() >= kLargeRatio) {
        const std::string large = std::string(type) + "@2x";
        if (!resources.Find(large, id).empty() &&
            m_picture.LoadFromResource(resources, id, large)) {
            m_ratio = kLargeRatio;
            return FitToPicture(true);
        }
    }
    m_ratio = 1;
    return FitToPicture(m_picture.LoadFromResource(resources, id, type));
}

bool QtAnimatedPicture::LoadFromMemory(std::span<const std::byte> bytes) {
    m_startOnShow = false;
    m_ratio = 1;
    return FitToPicture(m_picture.LoadFromMemory(bytes));
}

bool QtAnimatedPicture::FitToPicture(bool loaded) {
    if (loaded) {
        resize(qCeil(m_picture.GetSize().width / m_ratio),
               qCeil(m_picture.GetSize().height / m_ratio));
    }
    update();
    return loaded;
}

bool QtAnimatedPicture::StartShowing() {
    if (!isVisible() && m_picture.IsAnimation()) {
        m_startOnShow = true;
        return true;
    }
    return m_picture.StartShowing();
}

void QtAnimatedPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.scale(1 / m_ratio, 1 / m_ratio);
    QtCanvas canvas(painter);
    m_picture.Paint(canvas);
}

// Halting keeps the frame on show, and the next start disposes of it and draws it again, as
// after any halt: the animation goes on where it stopped, with that frame's full delay.
void QtAnimatedPicture::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_picture.IsAnimating()) {
        m_picture.HaltAnimation();
        m_startOnShow = true;
    }
}

void QtAnimatedPicture::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_startOnShow) {
        m_startOnShow = false;
        // An animation that cannot start again keeps showing the frame it stopped on.
        static_cast<void>(m_picture.StartShowing());
    }
}
