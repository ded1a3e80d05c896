#include "banner/qt/qt_picture_decoder.h"

#include <QImage>
#include <QPainter>
#include <climits>
#include <utility>

#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_geometry.h"

namespace {

class QtPicture final : public Picture {
public:
    explicit QtPicture(QImage image) : m_image(std::move(image)) {}

    Size GetSize() const override { return {m_image.width(), m_image.height()}; }

    bool Draw(Canvas& canvas, const Rect& into, const Rect& from) const override {
        auto* qt = dynamic_cast<QtCanvas*>(&canvas);
        if (!qt) return false;
        QPainter& painter = qt->Painter();
        painter.save();
        // Blended, so that the transparent pixels of a frame keep what lies below.
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(ToQRect(into), m_image, ToQRect(from));
        painter.restore();
        return true;
    }

private:
    QImage m_image;
};

}  // namespace

std::unique_ptr<Picture> QtPictureDecoder::Decode(std::span<const std::byte> bytes) const {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
    QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                    static_cast<int>(bytes.size()));
    if (image.isNull()) return nullptr;
    // The format the raster painter blends fastest.
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return std::make_unique<QtPicture>(std::move(image));
}
