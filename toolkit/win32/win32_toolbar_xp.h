#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/win32/window_subclass.h"

// The flat toolbar and status bar on Windows, over the common controls' toolbar
// ("ToolbarWindow32") and status bar ("msctls_statusbar32"), attached by subclassing. No window
// of this program makes one.

// A toolbar painted by the toolkit's toolbar painter: a face lighter than the button face,
// highlight-framed hot, checked and pressed buttons, flat separators and drop-down arrows.
class CToolBarXP {
public:
    [[nodiscard]] bool Attach(HWND toolbar);
    void Detach() { m_subclass.Detach(); }

    // The answer to the toolbar's TBN_DROPDOWN for button `button`, which its parent passes on:
    // the frame is sent the button's negated number as a command, and its answer decides
    // whether the button shows pressed (TBDDRET_DEFAULT or TBDDRET_TREATPRESSED).
    static LRESULT OnDropDown(HWND frame, int button);

private:
    std::optional<LRESULT> Handle(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint(HWND toolbar);

    WindowSubclass m_subclass;
};

// A status bar whose panes get a flat one-pixel frame in the button shadow colour over their
// sunken edges.
class CStatusBarXP {
public:
    [[nodiscard]] bool Attach(HWND statusBar);
    void Detach() { m_subclass.Detach(); }

private:
    std::optional<LRESULT> Handle(HWND statusBar, UINT message, WPARAM wParam, LPARAM lParam);
    static void PaintPanes(HWND statusBar);

    WindowSubclass m_subclass;
};
