#pragma once

#include <functional>
#include <string_view>

#include "toolkit/canvas.h"
#include "toolkit/flat_look.h"

// The flat push button: a rounded white outline on a beige ground, a vertical white-to-pale
// gradient face, an orange frame while the mouse rests on it or a blue one while it has the
// focus, and its label centred. On a light palette it has a fixed palette of its own. The window
// that shows it forwards three mouse notices and its paints; the button decides the rest.
class CXPButton {
public:
    // The ground that shows in the four corners outside the outline.
    static constexpr Color kGround = Rgb(232, 229, 211);
    static constexpr Color kOutline = Rgb(0, 0, 0);
    static constexpr Color kInside = Rgb(255, 255, 255);
    static constexpr Color kLabel = Rgb(0, 0, 0);
    // A disabled label is embossed: light one pixel right of and below the grey.
    static constexpr Color kEmbossLight = Rgb(255, 255, 255);
    static constexpr Color kEmbossShadow = Rgb(128, 128, 128);
    static constexpr Size kCorner{10, 10};

    // The four sides of a frame, each a colour and a pen width.
    using Pen = FramePen;
    using Frame = ButtonFrame;
    static constexpr Frame kHoverFrame{{Rgb(250, 196, 88), 3},
                                       {Rgb(252, 210, 121), 2},
                                       {Rgb(251, 202, 106), 3},
                                       {Rgb(229, 151, 0), 2}};
    static constexpr Frame kFocusFrame{{Rgb(153, 198, 252), 3},
                                       {Rgb(162, 201, 255), 2},
                                       {Rgb(162, 189, 252), 3},
                                       {Rgb(162, 201, 255), 2}};

    // What the window must repaint after a mouse notice.
    enum class Repaint { kNone, kWithoutErasing, kErasing };

    // The mouse moved over the button. Unless a request is armed, `track` asks the window for a
    // hover notice and a leave notice and says whether it could.
    void OnMouseMove(const std::function<bool()>& track);
    // The mouse left the button.
    Repaint OnMouseLeave();
    // The mouse rested on the button.
    Repaint OnMouseHover();

    // Paints the whole button into `item`, its client rectangle: `state` holds the owner-draw
    // bits (ods::kSelected pressed, kFocus, kDefault, kDisabled); `edge` is the width and height
    // of a 3-D edge (SM_CXEDGE, SM_CYEDGE), by which the face lies inside the client rectangle.
    void DrawItem(Canvas& canvas, const Rect& item, unsigned state, std::string_view label,
                  Size edge = {2, 2});

    // The colours it paints in; the light palette's fixed ones until the window gives others.
    void SetLook(const ButtonLook& look) { m_look = look; }

    bool IsHover() const { return m_hover; }
    bool IsTracking() const { return m_tracking; }

    // The colour of gradient row `index` (0..63) for the hover and emphasised states.
    static Color GradientColor(int index, bool hover, bool emphasised);

private:
    bool m_hover = false;
    bool m_tracking = false;
    bool m_focused = false;
    bool m_emphasised = false;
    ButtonLook m_look = LightButtonLook();
};
