#pragma once

#include <vector>

#include "toolkit/canvas.h"
#include "toolkit/system_colors.h"

// The flat look's colours for the user's palette, chosen in one place: the menus, the flat push
// button, the main window's background and labels, and the About box's card. A light palette
// gets the program's own look; a dark one the same look in dark tones; a high-contrast one the
// theme's own colour pairs. Every text is readable on what it is drawn on.
enum class Scheme { kLight, kDark, kHighContrast };

// The colours of the flat menus.
struct MenuPalette {
    Color face;          // the menu bar and the open item's shadow strip
    Color band;          // the image band of a popup, the open menu-bar item
    Color paper;         // behind a popup's texts, its inner border
    Color rule;          // separators
    Color ghost;         // silhouettes and radio bullets of disabled items
    Color dimFill;       // a highlighted or checked disabled item
    Color frame;         // the highlight frame
    Color hotFill;       // a highlighted item
    Color hotBox;        // the check box of a highlighted item
    Color boxFill;       // the check box of any other item
    Color iconShadow;    // the shadow under a lifted image
    Color tabEdge;       // the open menu-bar item's and the menu window's outline
    Color text;          // item text
    Color hotText;       // the text and check mark of a highlighted item
    Color disabledText;  // text of a disabled item
    Color inactiveText;  // text in an inactive window

    static MenuPalette From(const SystemColors& colors);
};

// One side of a button's frame: a colour and a pen width.
struct FramePen {
    Color color;
    int width;
};
struct ButtonFrame {
    FramePen left, top, right, bottom;
};

// The colours of the flat push button.
struct ButtonLook {
    Color ground;  // outside the rounded outline
    Color outline;
    Color inside;  // inside the outline, around the face
    Color label;
    Color disabledLabel;  // drawn over `emboss` one pixel right and down, unless that is kNoColor
    Color emboss;
    ButtonFrame hover;
    ButtonFrame focus;
    // The face's rows run from `top` to `bottom` unless the look keeps the fixed white-to-pale
    // rows of the light palette.
    bool paleRows;
    Color top;
    Color bottom;

    // Row `index` (0..63) of the face.
    Color Row(int index, bool hovered, bool emphasised) const;
};
// The light palette's button: fixed colours of its own.
ButtonLook LightButtonLook();

// The main window's background and labels: a vertical gradient (or the plain ground) with two
// etched lines.
struct WindowLook {
    bool gradient;
    Color top;     // row 0 of the gradient
    int drop[3];   // red, green and blue fall by these over the gradient's rows
    Color ground;  // where no gradient is painted
    Color text;
    Color etch;
    Color etchHighlight;

    Color Row(int y, int rows) const;

    // On a light palette: from a warm off-white to a pale khaki, grey lines over white ones.
    static constexpr Color kLightTop = Rgb(244, 243, 238);
    static constexpr Color kLightEtch = Rgb(140, 140, 140);
    static constexpr Color kLightEtchHighlight = Rgb(255, 255, 255);
};
WindowLook LightWindowLook(Color ground = SystemColors().buttonFace);

// The About box: a card with a text, a link and a highlighted line.
struct CardLook {
    Color card;
    Color text;
    Color link;
    Color accent;

    // On a light palette: a white card, a pure blue link and a dark green line.
    static constexpr Color kLightCard = Rgb(255, 255, 255);
    static constexpr Color kLightLink = Rgb(0, 0, 255);
    static constexpr Color kLightAccent = Rgb(0, 127, 0);
};

// A text colour and the background it is drawn on, with the contrast it needs.
struct TextPair {
    const char* what;
    Color text;
    Color background;
    double ratio;
};

struct FlatLook {
    Scheme scheme;
    MenuPalette menu;
    ButtonLook button;
    WindowLook window;
    CardLook card;

    // Every text/background pair the look draws.
    std::vector<TextPair> TextPairs() const;
};

// A palette reads as high contrast when the system says so, or when its face and text are black
// and white.
Scheme SchemeOf(const SystemColors& colors);
FlatLook ChooseFlatLook(const SystemColors& colors);
