// Pictures and icons from the resources on screens of one and twice the density.
#include "ui/qt/resource_pictures.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include "tests/support/fake_resources.h"
#include "tests/support/qt/qt_test_environment.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    AddQtTestEnvironment<QGuiApplication>();

std::vector<std::byte> Png(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const auto* data = reinterpret_cast<const std::byte*>(bytes.constData());
    return {data, data + bytes.size()};
}

TEST(ResourcePicturesTest, TheLargeVersionShowsOnDenseScreensAtTheSameSize) {
    FakeResources resources;
    resources.Add("BITMAP", 148, Png({16, 15}, Qt::red));
    resources.Add("BITMAP@2x", 148, Png({32, 30}, Qt::blue));
    resources.Add("BITMAP", 160, Png({88, 76}, Qt::red));  // no large version
    const struct {
        int id;
        qreal screen;
        qreal ratio;
        QColor colour;
    } cases[] = {
        {148, 1, 1, Qt::red}, {148, 2, 2, Qt::blue}, {148, 3, 2, Qt::blue}, {160, 2, 1, Qt::red}};
    for (const auto& c : cases) {
        const QPixmap picture = LoadPicture(resources, "BITMAP", c.id, c.screen);
        EXPECT_EQ(picture.deviceIndependentSize().toSize(),
                  c.id == 148 ? QSize(16, 15) : QSize(88, 76))
            << c.id << " at " << c.screen;
        EXPECT_EQ(picture.devicePixelRatio(), c.ratio) << c.id << " at " << c.screen;
        EXPECT_EQ(picture.toImage().pixelColor(0, 0), c.colour) << c.id << " at " << c.screen;
    }
    EXPECT_TRUE(LoadPicture(resources, "BITMAP", 999, 2).isNull());

    resources.Add("ICON", 128, Png({32, 32}, Qt::red));
    resources.Add("ICON@2x", 128, Png({64, 64}, Qt::blue));
    const QIcon icon = LoadIcon(resources, 128);
    EXPECT_EQ(icon.pixmap(QSize(32, 32), 1).toImage().pixelColor(0, 0), QColor(Qt::red));
    const QPixmap dense = icon.pixmap(QSize(32, 32), 2);
    EXPECT_EQ(dense.size(), QSize(64, 64));
    EXPECT_EQ(dense.toImage().pixelColor(0, 0), QColor(Qt::blue));
}

}  // namespace
