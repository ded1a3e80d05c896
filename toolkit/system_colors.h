#pragma once

#include "toolkit/canvas.h"

// The user's colour scheme as the toolkit reads it at paint time (GetSysColor on Windows, the
// application's palette on Linux). The flat look takes every colour from here, as they are or
// through HLSTransform.
struct SystemColors {
    Color buttonFace = Rgb(236, 233, 216);     // COLOR_BTNFACE
    Color highlight = Rgb(49, 106, 197);       // COLOR_HIGHLIGHT
    Color darkShadow = Rgb(113, 111, 100);     // COLOR_3DDKSHADOW
    Color menuText = Rgb(0, 0, 0);             // COLOR_MENUTEXT
    Color buttonShadow = Rgb(172, 168, 153);   // COLOR_BTNSHADOW
    Color buttonText = Rgb(0, 0, 0);           // COLOR_BTNTEXT
    Color grayText = Rgb(172, 168, 153);       // COLOR_GRAYTEXT
    Color window = Rgb(255, 255, 255);         // COLOR_WINDOW
    Color windowText = Rgb(0, 0, 0);           // COLOR_WINDOWTEXT
    Color menu = Rgb(255, 255, 255);           // COLOR_MENU
    Color highlightText = Rgb(255, 255, 255);  // COLOR_HIGHLIGHTTEXT
    Color link = Rgb(0, 0, 128);               // COLOR_HOTLIGHT
    bool highContrast = false;                 // the system's high-contrast setting is on
};
