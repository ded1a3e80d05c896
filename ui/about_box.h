#pragma once

#include <span>
#include <string>
#include <string_view>

#include "toolkit/canvas.h"
#include "toolkit/flat_look.h"
#include "ui/dialog_layout.h"

class CLinkStatic;

// What the About box's logic needs of its window.
class AboutView {
public:
    virtual ~AboutView() = default;
    // The link label of control `id` (1008, 1011 or 1014).
    virtual CLinkStatic& Link(int id) = 0;
    virtual Size GetWindowSize() = 0;
    // Only this part of the window, in its own coordinates, is shown.
    virtual void SetWindowRegion(const Rect& region) = 0;
};

// The About box: a white card with the program's picture, its blinking version line, a notice
// with the year, and the maker's name as a link to the maker's home page.
class CAboutDialog {
public:
    static constexpr int kTemplate = 100;
    static constexpr int kVersionLine = 1011;
    static constexpr int kNoticeLine = 1014;
    static constexpr int kMakerName = 1008;
    static constexpr int kOk = 1;
    static constexpr int kPicture = 160;
    static constexpr int kHandCursor = 158;
    static constexpr Color kCardColor = CardLook::kLightCard;
    static constexpr Color kMakerColor = CardLook::kLightLink;
    static constexpr Color kVersionColor = CardLook::kLightAccent;

    CAboutDialog(AboutView& view, std::string makerPage);

    // Sets up the three labels; the window and its controls exist. On a light palette the card is
    // white with a blue link and a green version line; `look` gives the colours of others.
    bool OnInitDialog(const CardLook& look = kLightLook);
    // Colours the card and its labels anew, as when the palette changes.
    void ApplyLook(const CardLook& look);
    // Trims the window's outermost pixel on every side, then paints the card.
    void OnPaint(Canvas& canvas);

    // The template: caption, size and controls in dialog units.
    static constexpr std::string_view kCaption = "About Drovane";
    static constexpr int kWidthDlu = 183;
    static constexpr int kHeightDlu = 60;
    static std::span<const layout::Control> Controls();

private:
    static constexpr CardLook kLightLook{kCardColor, Rgb(0, 0, 0), kMakerColor, kVersionColor};

    AboutView& m_view;
    std::string m_makerPage;
    Color m_card = kCardColor;
};
