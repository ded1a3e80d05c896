#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/win32/window_subclass.h"
#include "toolkit/xp_button.h"

// Gives a dialog's button the flat look: subclasses it, makes it owner-drawn, tracks the mouse
// for the hover frame and paints it off screen through the toolkit's button painter. The dialog
// hands the button its WM_DRAWITEM with ReflectDrawItem.
class Win32XPButton {
public:
    // Subclasses `button` and adds BS_OWNERDRAW to its style. False when it cannot.
    [[nodiscard]] bool Attach(HWND button);
    // Gives the button back its own procedure (its style stays owner-drawn).
    void Detach() { m_subclass.Detach(); }

    const CXPButton& Look() const { return m_look; }

    // For a dialog's WM_DRAWITEM: passes a button's record on to the button that owns it. True
    // when a flat button painted itself.
    [[nodiscard]] static bool ReflectDrawItem(const DRAWITEMSTRUCT& item);

    // The message the dialog sends a flat button to make it paint a record.
    static constexpr UINT kReflectedDrawItem = 0x2000 + WM_DRAWITEM;  // OCM_DRAWITEM

    // Paints `item` (its device context, rectangle and state) with the look of `look`.
    static void Paint(CXPButton& look, const DRAWITEMSTRUCT& item, HWND button);

private:
    std::optional<LRESULT> Handle(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
    void Repaint(CXPButton::Repaint how);

    CXPButton m_look;
    // Last, so that the button lets go of the window before the look goes.
    WindowSubclass m_subclass;
};
