#pragma once

#include <windows.h>

// The flat toolbar and status bar on Windows, over the common controls' toolbar
// ("ToolbarWindow32") and status bar ("msctls_statusbar32"), attached by subclassing. No window
// of this program makes one.

// A toolbar painted by the toolkit's toolbar painter: a face lighter than the button face,
// highlight-framed hot, checked and pressed buttons, flat separators and drop-down arrows.
class CToolBarXP {
public:
    CToolBarXP() = default;
    ~CToolBarXP();
    CToolBarXP(const CToolBarXP&) = delete;
    CToolBarXP& operator=(const CToolBarXP&) = delete;

    bool Attach(HWND toolbar);
    void Detach();
    HWND Window() const { return m_toolbar; }

    // The answer to the toolbar's TBN_DROPDOWN for button `button`, which its parent passes on:
    // the frame is sent the button's negated number as a command, and its answer decides
    // whether the button shows pressed (TBDDRET_DEFAULT or TBDDRET_TREATPRESSED).
    static LRESULT OnDropDown(HWND frame, int button);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR self);
    void OnPaint();

    HWND m_toolbar = nullptr;
};

// A status bar whose panes get a flat one-pixel frame in the button shadow colour over their
// sunken edges.
class CStatusBarXP {
public:
    CStatusBarXP() = default;
    ~CStatusBarXP();
    CStatusBarXP(const CStatusBarXP&) = delete;
    CStatusBarXP& operator=(const CStatusBarXP&) = delete;

    bool Attach(HWND statusBar);
    void Detach();
    HWND Window() const { return m_statusBar; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR self);
    void PaintPanes();

    HWND m_statusBar = nullptr;
};
