#pragma once

#include <QFont>

#include "ui/dialog_layout.h"

// The dialogs' font: NanumGothic, whose Hangul and Latin letters share one height, at the 12 pixels
// the dialog units are computed for. The labels of the templates were laid out for a narrower font:
// at 90 % of its width every label keeps inside its rectangle, with a pixel to spare.
inline QFont DialogFont() {
    QFont font("NanumGothic");
    font.setPixelSize(layout::kFontPixelHeight);
    font.setStretch(90);
    return font;
}
