#pragma once

#include <span>
#include <string_view>

#include "toolkit/canvas.h"
#include "ui/ui_text.h"

// The main window's template, in English: its size and controls in dialog units, and their
// conversion to pixels with a 9-point dialog font (one horizontal unit 1.6 px, one vertical
// unit 1.5 px).
namespace layout {

enum class Kind { PushButton, Edit, CheckBox, Label, Bitmap, GroupBox, Banner };

struct Control {
    int id = 0;  // 0 for controls without an id
    Kind kind = Kind::Label;
    std::string_view text;
    int x = 0, y = 0, width = 0, height = 0;  // dialog units
    bool isDefault = false;
    bool hidden = false;  // hidden until shown by the window
};

inline constexpr std::string_view kCaption = English(UiText::Caption);
inline constexpr int kWidthDlu = 207;
inline constexpr int kHeightDlu = 215;
inline constexpr int kFontPixelHeight = 12;

// Every control in template order.
std::span<const Control> Controls();
const Control* FindControl(int id);

// A rectangle this large in dialog units takes 100 times the dialog font's base units in pixels:
// whole numbers that keep the base units' fractions.
inline constexpr Size kReferenceUnits{400, 800};
// What it takes with the 9-point font (base units 6.4 x 12).
inline constexpr Size kNinePointReference{640, 1200};

// Dialog units to pixels for the font whose base units, times 100, are `reference` (what 400 x
// 800 dialog units take), rounded as the window system rounds them.
int HorizontalPixels(int dlu, int reference = kNinePointReference.width);
int VerticalPixels(int dlu, int reference = kNinePointReference.height);
Rect ToPixels(const Control& control, Size reference = kNinePointReference);
// The client area of the whole (expanded) template.
Size ClientPixels(Size reference = kNinePointReference);

}  // namespace layout
