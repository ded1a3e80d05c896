#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/toolbar_xp.h"
#include "toolkit/win32/window_subclass.h"

// The flat combo box a toolbar can hold, over a drop-down combo box control attached by
// subclassing, with its edit field: a one-pixel frame and a flat drop-down button, highlighted
// while the pointer is over the combo box or its edit field, or while it is dropped or (in a
// toolbar) has the focus; in a toolbar it is as tall as its drop-down list while its selection
// field keeps the height it was asked for, less 6. No window of this program makes one.
class CComboBoxXP : private CHoverTracker::Host {
public:
    CComboBoxXP();
    CComboBoxXP(const CComboBoxXP&) = delete;
    CComboBoxXP& operator=(const CComboBoxXP&) = delete;

    // Subclasses the combo box and its edit field, if it has one.
    [[nodiscard]] bool Attach(HWND combo);
    void Detach();

    bool IsHot() const { return m_tracker.IsHot(); }
    // Whether the combo box sits in a toolbar.
    bool IsDocked() const;

private:
    std::optional<LRESULT> OnComboMessage(HWND combo, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> OnEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint(HWND combo);

    void Invalidate() override;
    void RedrawFrame() override;
    void TrackLeave(CHoverTracker::Window window) override;
    void CancelLeave(CHoverTracker::Window window) override;
    HWND WindowOf(CHoverTracker::Window window) const;

    // How many list items the drop-down shows.
    static constexpr int kListItems = 8;

    CComboHeight m_height;
    CHoverTracker m_tracker;
    // Last, so that the windows are let go before the rest goes.
    WindowSubclass m_combo;
    WindowSubclass m_edit;
};
