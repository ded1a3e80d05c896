#pragma once

#include <string>
#include <string_view>

#include "toolkit/canvas.h"
#include "ui/ui_text.h"

// How the main window is shown.
enum class WindowShow { Hide, Normal, Minimize };

// What the main dialog's logic needs of its window. Controls are named by their ids; sizes and
// rectangles are device pixels.
class DialogView {
public:
    virtual ~DialogView() = default;

    virtual std::string GetItemText(int id) = 0;
    // `text` in the user's language.
    virtual std::string Text(UiText text) { return std::string(English(text)); }
    virtual void SetItemText(int id, std::string_view text) = 0;
    virtual int GetCheck(int id) = 0;
    // Changes the check mark only: no click is reported for it.
    virtual void SetCheck(int id, int state) = 0;
    virtual void ShowItem(int id, bool show) = 0;
    virtual void FocusItem(int id) = 0;
    // The control's rectangle in the window's client coordinates.
    virtual Rect GetItemRect(int id) = 0;
    // The pixels that `units` dialog units take in the window's dialog font.
    virtual Size MapDialogUnits(Size units) = 0;

    // The outer size of the window, and a resize that keeps its position, z-order and activation.
    virtual Size GetWindowSize() = 0;
    virtual void SetWindowSize(Size size) = 0;
    // Only this part of the window, in its own coordinates, is shown.
    virtual void SetWindowRegion(const Rect& region) = 0;

    virtual void ShowWindow(WindowShow how) = 0;
    virtual void BringToFront() = 0;
    virtual void SetIcons() = 0;
    // Lets a second start of the program find this window.
    virtual void MarkRunningCopy() = 0;
    // Destroys the window; the program ends with it.
    virtual void DestroyWindow() = 0;
    // Whether the desktop has a notification area that can hold our icon right now.
    virtual bool IsTrayAvailable() = 0;
    // Appends a separator and an item to the window's system menu, where the platform has one.
    virtual void AppendSystemMenuItem(int command, std::string_view text) = 0;
    // Shows the About box, modal to the window; brings it forward when it is already shown.
    virtual void ShowAboutBox() = 0;
    // Loads picture resource `id` of `type` into the banner control (1010); false when it fails.
    [[nodiscard]] virtual bool LoadBanner(int id, std::string_view type) = 0;
    // Shows the loaded banner, animating it when it is an animated GIF.
    virtual void StartBanner() = 0;
    // Tells a screen reader `message` (in the user's language), where the platform has a way to.
    virtual void Announce(std::string_view message) { static_cast<void>(message); }
};
