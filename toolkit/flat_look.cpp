#include "toolkit/flat_look.h"

#include <algorithm>

#include "toolkit/contrast.h"
#include "toolkit/hls_color.h"
#include "toolkit/xp_button.h"

namespace {

bool IsBlack(Color c) { return RedOf(c) <= 8 && GreenOf(c) <= 8 && BlueOf(c) <= 8; }
bool IsWhite(Color c) { return RedOf(c) >= 247 && GreenOf(c) >= 247 && BlueOf(c) >= 247; }

// `from` moved `percent` of the way to `to`.
Color Mix(Color from, Color to, int percent) {
    const auto channel = [&](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(a + (b - a) * percent / 100);
    };
    return Rgb(channel(RedOf(from), RedOf(to)), channel(GreenOf(from), GreenOf(to)),
               channel(BlueOf(from), BlueOf(to)));
}

// The lighter of two colours: light text is least readable there.
Color Lighter(Color a, Color b) {
    return ContrastRatio(a, Rgb(0, 0, 0)) >= ContrastRatio(b, Rgb(0, 0, 0)) ? a : b;
}

// The program's own look, with its colours made from the face and the highlight as Windows XP's
// flat menus made theirs.
MenuPalette LightMenu(const SystemColors& c) {
    MenuPalette p{};
    p.face = c.buttonFace;
    p.band = HLSTransform(c.buttonFace, 20, 0);
    p.paper = HLSTransform(c.buttonFace, 75, 0);
    p.rule = HLSTransform(c.buttonFace, -18, 0);
    p.ghost = HLSTransform(c.buttonFace, -27, 0);
    p.dimFill = HLSTransform(c.buttonFace, 73, 0);
    p.frame = c.highlight;
    p.hotFill = HLSTransform(c.highlight, 70, -57);
    p.hotBox = HLSTransform(c.highlight, 50, -50);
    p.boxFill = p.hotFill;
    p.iconShadow = HLSTransform(c.highlight, 50, -66);
    p.tabEdge = c.darkShadow;
    p.text = c.menuText;
    p.hotText = c.menuText;
    p.disabledText = p.rule;
    p.inactiveText = c.buttonShadow;
    return p;
}

// The same shapes in dark tones: the paper lies below the face, away from the light text, and
// the highlight's tints are dark ones.
MenuPalette DarkMenu(const SystemColors& c) {
    MenuPalette p = LightMenu(c);
    p.band = HLSTransform(c.buttonFace, -12, 0);
    p.paper = HLSTransform(c.buttonFace, -35, 0);
    p.rule = HLSTransform(c.buttonFace, 25, 0);
    p.ghost = HLSTransform(c.buttonFace, 30, 0);
    p.dimFill = HLSTransform(c.buttonFace, -25, 0);
    p.hotFill = HLSTransform(c.highlight, -55, -40);
    p.hotBox = HLSTransform(c.highlight, -35, -30);
    p.boxFill = p.hotFill;
    p.iconShadow = HLSTransform(c.highlight, -50, -66);
    p.disabledText = c.grayText;
    return p;
}

// The theme's own pairs: menu text on the menu, highlight text on the highlight, grey text for
// what is disabled.
MenuPalette HighContrastMenu(const SystemColors& c) {
    MenuPalette p{};
    p.face = p.band = p.paper = p.dimFill = p.boxFill = c.menu;
    p.rule = p.ghost = p.tabEdge = c.menuText;
    p.frame = p.hotFill = p.hotBox = c.highlight;
    p.iconShadow = c.menu;
    p.text = c.menuText;
    p.hotText = c.highlightText;
    p.disabledText = p.inactiveText = c.grayText;
    return p;
}

// Whatever the palette, text keeps its contrast: a colour the recipe makes too faint moves
// towards black or white until it is readable.
void KeepMenuReadable(MenuPalette& p) {
    p.text = WithContrast(WithContrast(p.text, p.paper, kTextContrast), p.face, kTextContrast);
    p.hotFill = WithContrast(p.hotFill, p.hotText, kTextContrast);
    p.hotBox = WithContrast(p.hotBox, p.hotText, kDimContrast);
    p.boxFill = WithContrast(p.boxFill, p.text, kDimContrast);
    p.disabledText =
        WithContrast(WithContrast(p.disabledText, p.paper, kDimContrast), p.dimFill, kDimContrast);
    p.inactiveText = WithContrast(p.inactiveText, p.face, kDimContrast);
}

}  // namespace

WindowLook LightWindowLook(Color ground) {
    return {true,
            WindowLook::kLightTop,
            {24, 28, 54},
            ground,
            Rgb(0, 0, 0),
            WindowLook::kLightEtch,
            WindowLook::kLightEtchHighlight};
}

ButtonLook LightButtonLook() {
    return {CXPButton::kGround,     CXPButton::kOutline,      CXPButton::kInside,
            CXPButton::kLabel,      CXPButton::kEmbossShadow, CXPButton::kEmbossLight,
            CXPButton::kHoverFrame, CXPButton::kFocusFrame,   true,
            Rgb(255, 255, 255),     Rgb(234, 234, 243)};
}

namespace {

ButtonLook DarkButton(const SystemColors& c, Color ground) {
    ButtonLook b = LightButtonLook();
    b.ground = ground;
    b.paleRows = false;
    b.label = WithContrast(c.buttonText, c.buttonFace, kTextContrast);
    // A little lighter than the face, as long as the label stays readable on it.
    b.top = b.inside = WithContrast(HLSTransform(c.buttonFace, 22, 0), b.label, kTextContrast);
    b.bottom = c.buttonFace;
    b.outline = HLSTransform(c.buttonFace, 40, 0);
    b.disabledLabel = WithContrast(c.grayText, b.top, b.bottom, kDimContrast);
    b.emboss = kNoColor;
    return b;
}

ButtonLook HighContrastButton(const SystemColors& c) {
    const auto frame = [&](Color color) {
        return ButtonFrame{{color, 3}, {color, 2}, {color, 3}, {color, 2}};
    };
    return {c.buttonFace, c.buttonText, c.buttonFace,       c.buttonText,
            c.grayText,   kNoColor,     frame(c.highlight), frame(c.highlight),
            false,        c.buttonFace, c.buttonFace};
}

// A gradient of the face's own hue from a little above it to well below it.
WindowLook DarkWindow(const SystemColors& c) {
    const Color top = HLSTransform(c.buttonFace, 10, 0);
    const Color bottom = HLSTransform(c.buttonFace, -35, 0);
    WindowLook w{
        true,
        top,
        {RedOf(top) - RedOf(bottom), GreenOf(top) - GreenOf(bottom), BlueOf(top) - BlueOf(bottom)},
        c.buttonFace,
        WithContrast(c.buttonText, Lighter(top, c.buttonFace), kTextContrast),
        HLSTransform(c.buttonFace, -60, 0),
        HLSTransform(c.buttonFace, 25, 0)};
    return w;
}

WindowLook HighContrastWindow(const SystemColors& c) {
    return {false, c.buttonFace, {0, 0, 0}, c.buttonFace, c.buttonText, c.buttonText, c.buttonFace};
}

CardLook LightCard(const SystemColors& c) {
    return {CardLook::kLightCard, WithContrast(c.windowText, CardLook::kLightCard, kTextContrast),
            CardLook::kLightLink, CardLook::kLightAccent};
}

CardLook DarkCard(const SystemColors& c) {
    const Color card = HLSTransform(c.buttonFace, -35, 0);
    return {card, WithContrast(c.windowText, card, kTextContrast),
            WithContrast(CardLook::kLightLink, card, kMovedTextContrast),
            WithContrast(CardLook::kLightAccent, card, kMovedTextContrast)};
}

CardLook HighContrastCard(const SystemColors& c) {
    return {c.window, c.windowText, WithContrast(c.link, c.window, kMovedTextContrast),
            c.windowText};
}

}  // namespace

Color ButtonLook::Row(int index, bool hovered, bool emphasised) const {
    if (paleRows) return CXPButton::GradientColor(index, hovered, emphasised);
    return Mix(top, bottom, std::clamp(index, 0, 63) * 100 / 63);
}

Color WindowLook::Row(int y, int rows) const {
    const auto channel = [&](std::uint8_t start, int fall) {
        return static_cast<std::uint8_t>(start - fall * y / rows);
    };
    return Rgb(channel(RedOf(top), drop[0]), channel(GreenOf(top), drop[1]),
               channel(BlueOf(top), drop[2]));
}

Scheme SchemeOf(const SystemColors& c) {
    if (c.highContrast || (IsBlack(c.buttonFace) && IsWhite(c.buttonText)) ||
        (IsWhite(c.buttonFace) && IsBlack(c.buttonText))) {
        return Scheme::kHighContrast;
    }
    return ContrastRatio(c.buttonText, Rgb(0, 0, 0)) > ContrastRatio(c.buttonFace, Rgb(0, 0, 0))
               ? Scheme::kDark
               : Scheme::kLight;
}

FlatLook ChooseFlatLook(const SystemColors& c) {
    FlatLook look{};
    look.scheme = SchemeOf(c);
    switch (look.scheme) {
        case Scheme::kLight:
            look.menu = LightMenu(c);
            look.button = LightButtonLook();
            look.window = LightWindowLook(c.buttonFace);
            look.card = LightCard(c);
            break;
        case Scheme::kDark:
            look.menu = DarkMenu(c);
            look.window = DarkWindow(c);
            look.button = DarkButton(c, look.window.Row(1, 2));
            look.card = DarkCard(c);
            break;
        case Scheme::kHighContrast:
            look.menu = HighContrastMenu(c);
            look.button = HighContrastButton(c);
            look.window = HighContrastWindow(c);
            look.card = HighContrastCard(c);
            break;
    }
    KeepMenuReadable(look.menu);
    return look;
}

MenuPalette MenuPalette::From(const SystemColors& colors) { return ChooseFlatLook(colors).menu; }

std::vector<TextPair> FlatLook::TextPairs() const {
    const MenuPalette& m = menu;
    std::vector<TextPair> pairs{
        {"menu text on the paper", m.text, m.paper, kTextContrast},
        {"menu text on the menu bar", m.text, m.face, kTextContrast},
        {"menu text on the open menu-bar item", m.text, m.band, kTextContrast},
        {"highlighted menu text", m.hotText, m.hotFill, kTextContrast},
        {"check mark of a highlighted item", m.hotText, m.hotBox, kDimContrast},
        {"check mark", m.text, m.boxFill, kDimContrast},
        {"disabled menu text", m.disabledText, m.paper, kDimContrast},
        {"highlighted disabled menu text", m.disabledText, m.dimFill, kDimContrast},
        {"menu bar of an inactive window", m.inactiveText, m.face, kDimContrast},
        {"label on the window's top", window.text, window.Row(0, 1), kTextContrast},
        {"label on the window's ground", window.text, window.ground, kTextContrast},
        {"card text", card.text, card.card, kTextContrast},
        {"card link", card.link, card.card, kTextContrast},
        {"card's highlighted line", card.accent, card.card, kTextContrast},
    };
    if (window.gradient) {
        pairs.push_back({"label on the window's last gradient row", window.text,
                         window.Row(370, 371), kTextContrast});
    }
    for (const bool hover : {false, true}) {
        for (const bool emphasised : {false, true}) {
            for (const int row : {0, 63}) {
                pairs.push_back({"button label", button.label, button.Row(row, hover, emphasised),
                                 kTextContrast});
            }
        }
    }
    pairs.push_back(
        {"disabled button label", button.disabledLabel, button.Row(0, false, false), kDimContrast});
    pairs.push_back({"disabled button label", button.disabledLabel, button.Row(63, false, false),
                     kDimContrast});
    return pairs;
}
