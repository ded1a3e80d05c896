#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "banner/animated_picture.h"
#include "banner/win32/win32_picture_decoder.h"
#include "toolkit/win32/window_subclass.h"

class ResourceSource;

// A static control that shows a CAnimatedPicture (the main dialog's banner, control 1010): it
// paints by copying the picture's canvas, is repainted at the animation thread's request, halts
// the animation when the control is destroyed, and takes no mouse input, so clicks and the
// cursor over it are its dialog's. Its own window text is never drawn.
class Win32AnimatedPicture {
public:
    // `waiter` waits out the frames' delays (the steady clock when null).
    explicit Win32AnimatedPicture(std::shared_ptr<FrameWaiter> waiter = nullptr);
    ~Win32AnimatedPicture();
    Win32AnimatedPicture(const Win32AnimatedPicture&) = delete;
    Win32AnimatedPicture& operator=(const Win32AnimatedPicture&) = delete;

    // Takes over `control`'s painting and mouse handling for the control's lifetime.
    [[nodiscard]] bool Attach(HWND control);

    // Load, then resize the control to the picture, keeping its place.
    [[nodiscard]] bool LoadFromResource(const ResourceSource& resources, int id,
                                        std::string_view type);
    [[nodiscard]] bool LoadFromMemory(std::span<const std::byte> bytes);
    // Moves the control to `shown` (in its parent's client coordinates) and draws the picture with
    // its top-left corner at `picture` in the control, clipped to the control: pixel for pixel, or
    // scaled to `drawn` (with the halftone filter) where that is given and differs.
    void ShowIn(const Rect& shown, Point picture, Size drawn = {});
    // Makes the control a link for the keyboard (keyboard_link.h): Enter or Space sends its parent
    // the click notice of a static control (WM_COMMAND with STN_CLICKED).
    void MakeKeyboardLink();
    // Draws a still picture, or starts the animation.
    [[nodiscard]] bool StartShowing() { return m_picture.StartShowing(); }

    CAnimatedPicture& Picture() { return m_picture; }
    HWND Control() const { return m_control; }

private:
    std::optional<LRESULT> Handle(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    bool FitToPicture(bool loaded);
    void PaintInto(HDC dc) const;

    Win32PictureDecoder m_decoder;
    // Read by the animation thread's repaint requests.
    std::atomic<HWND> m_control = nullptr;
    // Destroyed, and so halted, before the decoder it uses.
    CAnimatedPicture m_picture;
    WindowSubclass m_subclass;
    Point m_pictureAt;
    Size m_drawn;
    bool m_link = false;
};
