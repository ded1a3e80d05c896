#pragma once

#include <cstdint>
#include <span>

#include "toolkit/canvas.h"
#include "toolkit/image_strip.h"
#include "toolkit/system_colors.h"

// The flat toolbar and status bar of frame windows, with the flat combo box a toolbar can hold.
// This program creates none of them; the painters and the small pieces of logic live here so that
// any window of either platform can use them.

// The state and style bits of a toolbar button (TBSTATE_*, TBSTYLE_*).
namespace toolbar_bits {
inline constexpr unsigned kChecked = 0x01;
inline constexpr unsigned kEnabled = 0x04;
inline constexpr unsigned kHidden = 0x08;
inline constexpr unsigned kIndeterminate = 0x10;
inline constexpr unsigned kWrap = 0x20;
inline constexpr unsigned kSeparatorStyle = 0x01;
inline constexpr unsigned kDropDownStyle = 0x08;
}  // namespace toolbar_bits

struct ToolbarButton {
    int image = -1;
    int command = 0;
    unsigned state = toolbar_bits::kEnabled;
    unsigned style = 0;
    Rect rect;
};

// What a toolbar paint needs to know besides its buttons.
struct ToolbarView {
    Rect area;    // the part to paint (the clip box)
    Rect client;  // the client rectangle
    Point cursor;
    bool leftButtonDown = false;
    int hotItem = -1;
    const ImageStrip* images = nullptr;
};

namespace toolbar_xp {

// Paints the toolbar's face and its buttons into `view.area`; button texts are not drawn.
void PaintToolbar(Canvas& canvas, const ToolbarView& view, std::span<const ToolbarButton> buttons,
                  const SystemColors& colors);
// Outlines each pane of a status bar, painted as usual before, with a flat shadow-coloured frame.
void PaintStatusBar(Canvas& canvas, std::span<const Rect> panes, const SystemColors& colors);

// The answer to a drop-down button's notice: the frame's answer to the command it was sent
// decides whether the button shows pressed (TBDDRET_DEFAULT 0, TBDDRET_TREATPRESSED 2).
inline int DropDownResult(long frameAnswer) { return frameAnswer != 0 ? 0 : 2; }
// The command word sent for drop-down button `button`: its negated number, 16 bits.
inline std::uint16_t DropDownCommand(int button) { return static_cast<std::uint16_t>(-button); }

struct ArrowButtonState {
    bool disabled = false;
    bool outsideToolbar = false;
    bool highlighted = false;
    bool pressed = false;
};
// The flat drop-down button of a combo box, with its down arrow.
void PaintArrowButton(Canvas& canvas, const Rect& rect, ArrowButtonState state,
                      const SystemColors& colors);

struct ComboState {
    bool enabled = true;
    bool docked = false;   // in a docked toolbar
    bool focused = false;  // docked and the focus on the combo box or its edit field
    bool dropped = false;
    bool hot = false;
};
// The combo box's flat frame and drop-down button over what the control painted; `thumb` is the
// button's width (SM_CXHTHUMB).
void PaintCombo(Canvas& canvas, const Rect& client, int thumb, ComboState state,
                const SystemColors& colors);
// The dialog code of a combo box: it wants every key while Enter is down.
inline unsigned ComboDialogCode(unsigned defaultCode, bool enterDown) {
    return enterDown ? defaultCode | 4u : defaultCode;
}

}  // namespace toolbar_xp

// A combo box in a toolbar is as tall as its drop-down list while its selection field keeps the
// height it was asked for, less 6.
class CComboHeight {
public:
    // A size change is coming: returns the height the window must take instead of `requested`.
    // `fieldHeight` and `listItemHeight` are asked for when needed.
    int OnWindowPosChanging(int requested, int listItems, int borderHeight, int fieldHeight,
                            int listItemHeight);
    // The size changed: the height to give the selection field, if any.
    int TakeFieldHeight();

private:
    int m_fieldHeight = -1;
    int m_pending = -1;
};

// Tells a combo box whether the pointer is over it or its edit field, so that moving between the
// two keeps it hot. The window calls back what it must do.
class CHoverTracker {
public:
    using Window = std::uintptr_t;  // 0: the owner
    class Host {
    public:
        virtual ~Host() = default;
        virtual void Invalidate() = 0;   // repaint the owner without erasing
        virtual void RedrawFrame() = 0;  // make the owner redraw its frame
        virtual void TrackLeave(Window window) = 0;
        virtual void CancelLeave(Window window) = 0;
    };
    static constexpr unsigned kInvalidate = 0x1;
    static constexpr unsigned kRedrawFrame = 0x2;

    CHoverTracker(Host& host, unsigned options) : m_host(host), m_options(options) {}
    // The pointer moved over `window`; true when the tracker became hot.
    bool OnMouseMove(Window window);
    // The pointer left `window`; true when the tracker went cold.
    bool OnMouseLeave(Window window);
    bool IsHot() const { return m_hot; }

private:
    void Apply();
    Host& m_host;
    unsigned m_options;
    Window m_tracked = 0;
    bool m_hot = false;
};
