#pragma once

#include <QColor>

#include "toolkit/canvas.h"

inline QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

inline Color FromQColor(const QColor& c) {
    return Rgb(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
               static_cast<std::uint8_t>(c.blue()));
}
