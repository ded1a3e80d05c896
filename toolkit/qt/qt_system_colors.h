#pragma once

#include <QPalette>

#include "toolkit/flat_look.h"
#include "toolkit/system_colors.h"

// The system colours as the desktop's palette gives them, so that the flat menus follow the
// user's colour scheme as they do on Windows.
SystemColors QtSystemColors(const QPalette& palette);
SystemColors QtSystemColors();  // of the application's palette
// The flat look for a widget's palette.
FlatLook QtFlatLook(const QPalette& palette);
