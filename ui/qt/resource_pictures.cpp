#include "ui/qt/resource_pictures.h"

#include <QImage>
#include <string>

#include "base/resource_source.h"

namespace {

constexpr qreal kLargeRatio = 2;

QImage Decode(const ResourceSource& resources, std::string_view type, int id) {
    const auto bytes = resources.Find(type, id);
    QImage image;
    if (!bytes.empty()) {
        static_cast<void>(image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                                             static_cast<int>(bytes.size()), "PNG"));
    }
    return image;
}

QImage DecodeLarge(const ResourceSource& resources, std::string_view type, int id) {
    QImage large = Decode(resources, std::string(type) + "@2x", id);
    large.setDevicePixelRatio(kLargeRatio);
    return large;
}

}  // namespace

QPixmap LoadPicture(const ResourceSource& resources, std::string_view type, int id,
                    qreal deviceRatio) {
    if (deviceRatio >= kLargeRatio) {
        const QImage large = DecodeLarge(resources, type, id);
        if (!large.isNull()) return QPixmap::fromImage(large);
    }
    return QPixmap::fromImage(Decode(resources, type, id));
}

QIcon LoadIcon(const ResourceSource& resources, int id) {
    QIcon icon(QPixmap::fromImage(Decode(resources, "ICON", id)));
    const QImage large = DecodeLarge(resources, "ICON", id);
    if (!large.isNull()) icon.addPixmap(QPixmap::fromImage(large));
    return icon;
}
