#pragma once

#include <QIcon>
#include <QPixmap>
#include <string_view>

class ResourceSource;

// Pictures among the program's resources. A picture of type T may come with a version twice as
// large, of type "T@2x", for screens of twice the density.

// The picture of `type` and `id`: its large version, at a device pixel ratio of 2, where the
// screen's `deviceRatio` is 2 or more and there is one. Null when there is none.
QPixmap LoadPicture(const ResourceSource& resources, std::string_view type, int id,
                    qreal deviceRatio);

// An icon with both versions, for Qt to choose from on each screen.
QIcon LoadIcon(const ResourceSource& resources, int id);
