#include "toolkit/menu_item_xp.h"

#include <algorithm>

#include "toolkit/font_scope.h"
#include "toolkit/menu_xp.h"
#include "toolkit/shapes.h"

namespace {

// The check mark, drawn in the text colour in the middle of the check box: a tick 7 pixels square,
// in each column a run 3 high whose top steps down a row a column from row 2 to row 4, then back up
// to row 0 (rows 0 to 6: "......#", ".....##", "#...###", "##.###.", "#####..", ".###...",
// "..#....").
constexpr int kCheckSize = 7;

// On a canvas of density d the same tick in device pixels: the run's top, x + 1/2 + 3/2 going
// down and 13/2 - (x + 1/2) going up at a column's middle, taken at each device column's middle.
void DrawCheckMark(Canvas& canvas, Point at, Color color) {
    const int d = canvas.Density();
    const int left = at.x * d;
    const int top = at.y * d;
    for (int x = 0; x < kCheckSize * d; ++x) {
        const int run = std::max(0, std::min(x + (3 * d + 1) / 2, (13 * d + 1) / 2 - 1 - x));
        canvas.FillDeviceRect({left + x, top + run, left + x + 1, top + run + 3 * d}, color);
    }
}

std::string WithoutFirstPrefix(std::string text) {
    if (const auto amp = text.find('&'); amp != std::string::npos) text.erase(amp, 1);
    return text;
}

Color Darken(Color c, int percent) {
    return Rgb(static_cast<std::uint8_t>(RedOf(c) * percent / 100),
               static_cast<std::uint8_t>(GreenOf(c) * percent / 100),
               static_cast<std::uint8_t>(BlueOf(c) * percent / 100));
}

// The shadow right of an open menu-bar item: four columns, darkest next to the tab, whose tops
// are rounded off; its top four rows keep the face.
void ShadeMenuBarStrip(Canvas& canvas, const Rect& r) {
    for (int k = 0; k < 4; ++k) {
        const int x = r.right - 1 - k;
        for (int i = std::max(2 - k, 0); r.top + 4 + i <= r.bottom - 1; ++i) {
            int q = k;
            if (i == 0) {
                q = 0;
            } else if (i == 1) {
                q = k >= 2 ? 1 : 0;
            } else if (i == 2) {
                q = k >= 2 ? 2 : k;
            }
            const Point p{x, r.top + 4 + i};
            canvas.SetPixel(p, Darken(canvas.GetPixel(p), 93 - 5 * q));
        }
    }
}

}  // namespace

CMenuItemXP::CMenuItemXP(MenuAccess& menus, MenuHandle menu, unsigned item, bool byPosition) {
    if (!menus.ReadItem(menu, item, byPosition, m_info, nullptr)) m_info = {};
    if (IsSeparator()) return;
    if (const std::string* text = CMenuXP::FindText(m_info)) m_text = *text;
    if (const auto image = CMenuXP::FindImage(m_info)) {
        m_images = image->images;
        m_imageIndex = image->index;
    }
}

int CMenuItemXP::GetText(std::string& text) const {
    text = m_text.substr(0, m_text.find('\t'));
    return static_cast<int>(text.size());
}

int CMenuItemXP::GetAccelerator(std::string& accelerator) const {
    const auto tab = m_text.find('\t');
    accelerator = tab == std::string::npos ? std::string() : m_text.substr(tab + 1);
    return static_cast<int>(accelerator.size());
}

int CMenuItemXP::GetTextWidth(Canvas& canvas) const {
    std::string text;
    if (IsSeparator() || GetText(text) == 0) return 0;
    const BoldFont bold(canvas, IsDefault());
    return canvas.GetTextExtent(WithoutFirstPrefix(text)).width;
}

int CMenuItemXP::GetAcceleratorWidth(Canvas& canvas) const {
    std::string accelerator;
    if (IsSeparator() || GetAccelerator(accelerator) == 0) return 0;
    const BoldFont bold(canvas, IsDefault());
    return canvas.GetTextExtent(accelerator).width;
}

bool CMenuItemXP::IsSeparator() const { return (m_info.fType & menu_bits::kSeparator) != 0; }
bool CMenuItemXP::IsRadioCheck() const { return (m_info.fType & menu_bits::kRadioCheck) != 0; }
bool CMenuItemXP::IsChecked() const { return (m_info.fState & menu_bits::kChecked) != 0; }
bool CMenuItemXP::IsDisabled() const { return (m_info.fState & menu_bits::kGrayed) != 0; }
bool CMenuItemXP::IsDefault() const { return (m_info.fState & menu_bits::kDefault) != 0; }

bool CMenuItemXP::Draw(Canvas& canvas, const Rect& rc, const MenuItemDrawState& state,
                       const SystemColors& colors) const {
    const MenuPalette pal = MenuPalette::From(colors);
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    bool open = false;
    const bool disabled = IsDisabled() || state.grayed;

    if (state.menuBar && state.selected) {
        CMenuXP::ms_rcMenuBarItem = {L, T, R - kShadowWidth, B};
        shapes::Rectangle(canvas, {L, T, R - kShadowWidth, B}, pal.tabEdge, pal.band);
        canvas.FillSolidRect({R - kShadowWidth, T, R, B}, pal.face);
        ShadeMenuBarStrip(canvas, rc);
        open = true;
    } else if ((state.selected && !state.menuBar) || (state.hotLight && !state.inactive)) {
        const Color fill = disabled ? pal.dimFill : pal.hotFill;
        if (state.menuBar) {
            shapes::Rectangle(canvas, {L, T, R - kShadowWidth, B}, pal.frame, fill);
            canvas.FillSolidRect({R - kShadowWidth, T, R, B}, pal.face);
        } else {
            shapes::Rectangle(canvas, rc, pal.frame, fill);
        }
    } else if (state.menuBar) {
        canvas.FillSolidRect(rc, pal.face);
    } else {
        canvas.FillSolidRect({L, T, kBandRight, B}, pal.band);
        canvas.FillSolidRect({kBandRight, T, R, B}, pal.paper);
    }

    if (IsSeparator()) {
        const int y = (T + B) / 2;
        canvas.DrawLine({L + kTextLeft, y}, {R - 1, y}, pal.rule);
        return open;
    }

    std::string text;
    if (GetText(text) == 0) return open;

    const bool highlighted =
        !(state.menuBar && state.selected) &&
        ((state.selected && !state.menuBar) || (state.hotLight && !state.inactive));
    const Color textColor = state.inactive ? pal.inactiveText
                            : disabled     ? pal.disabledText
                            : highlighted  ? pal.hotText
                                           : pal.text;
    const unsigned hide = state.noAccel && !state.keyboardCues ? TextFlags::kHidePrefix : 0;

    if (state.menuBar) {
        canvas.DrawText(text, {L, T, R - kShadowWidth, B},
                        TextFlags::kCenter | TextFlags::kVCenter | TextFlags::kSingleLine | hide,
                        textColor);
        return open;
    }

    const BoldFont bold(canvas, IsDefault());
    canvas.DrawText(text, {kTextLeft, T, R, B}, TextFlags::kVCenter | TextFlags::kSingleLine | hide,
                    textColor);
    std::string accelerator;
    if (GetAccelerator(accelerator) > 0) {
        canvas.DrawText(accelerator, {kTextLeft, T, R - kAcceleratorGap, B},
                        TextFlags::kRight | TextFlags::kVCenter | TextFlags::kSingleLine,
                        textColor);
    }

    const Color box = disabled ? pal.dimFill : state.selected ? pal.hotBox : pal.boxFill;
    const Rect checkBox{L + 1, T + 1, L + 20, B - 1};
    if (IsChecked()) shapes::Rectangle(canvas, checkBox, pal.frame, box);

    if (HasImage()) {
        const bool lifted = state.selected && !IsChecked();
        if (disabled) {
            m_images->DrawSilhouette(canvas, m_imageIndex, {L + 3, T + 3}, pal.ghost);
        } else if (lifted) {
            m_images->DrawSilhouette(canvas, m_imageIndex, {L + 4, T + 4}, pal.iconShadow);
        }
        if (!disabled) {
            m_images->Draw(canvas, m_imageIndex,
                           lifted ? Point{L + 2, T + 2} : Point{L + 3, T + 3});
        }
    } else if (IsChecked()) {
        if (IsRadioCheck()) {
            const Color ink = disabled ? pal.ghost : highlighted ? pal.hotText : pal.text;
            const int xc = (L + 5 + L + 20) / 2;
            const int yc = (T + B) / 2;
            shapes::Ellipse(canvas, {xc - 4, yc - 3, xc + 3, yc + 4}, ink, ink);
            canvas.SetPixel({xc + 1, yc + 2}, box);
        } else {
            const int x0 = checkBox.left + (checkBox.Width() - kCheckSize) / 2;
            const int y0 = checkBox.top + (checkBox.Height() - kCheckSize) / 2;
            DrawCheckMark(canvas, {x0, y0}, textColor);
        }
    }
    return open;
}
