#include "banner/win32/win32_animated_picture.h"

#include "banner/win32/keyboard_link.h"
#include "toolkit/win32/win32_canvas.h"
#include "toolkit/win32/win32_surface.h"

Win32AnimatedPicture::Win32AnimatedPicture(std::shared_ptr<FrameWaiter> waiter)
    : m_picture(
          m_decoder, std::make_shared<Win32SurfaceFactory>(),
          {GetSysColor(COLOR_MENU), GetSysColor(COLOR_BTNFACE)},
          // From the animation thread too: InvalidateRect only marks the control for a paint,
          // which its own thread then does. A message sent from here could wait on a thread that
          // is itself waiting for this one to halt.
          [this] {
              if (HWND control = m_control.load()) InvalidateRect(control, nullptr, FALSE);
          },
          std::move(waiter)) {}

Win32AnimatedPicture::~Win32AnimatedPicture() {
    m_picture.HaltAnimation();
    m_control = nullptr;
    m_subclass.Detach();
}

bool Win32AnimatedPicture::Attach(HWND control) {
    if (!m_subclass.Attach(control, *this, &Win32AnimatedPicture::Handle)) return false;
    m_control = control;
    return true;
}

bool Win32AnimatedPicture::LoadFromResource(const ResourceSource& resources, int id,
                                            std::string_view type) {
    return FitToPicture(m_picture.LoadFromResource(resources, id, type));
}

bool Win32AnimatedPicture::LoadFromMemory(std::span<const std::byte> bytes) {
    return FitToPicture(m_picture.LoadFromMemory(bytes));
}

bool Win32AnimatedPicture::FitToPicture(bool loaded) {
    HWND control = m_control.load();
    if (!control) return loaded;
    if (loaded) {
        const Size size = m_picture.GetSize();
        SetWindowPos(control, nullptr, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(control, nullptr, FALSE);
    return loaded;
}

void Win32AnimatedPicture::ShowIn(const Rect& shown, Point picture, Size drawn) {
    m_pictureAt = picture;
    m_drawn = drawn;
    HWND control = m_control.load();
    if (!control) return;
    SetWindowPos(control, nullptr, shown.left, shown.top, shown.Width(), shown.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(control, nullptr, FALSE);
}

void Win32AnimatedPicture::MakeKeyboardLink() {
    if (HWND control = m_control.load()) keyboard_link::SetTabStop(control, true);
    m_link = true;
}

void Win32AnimatedPicture::PaintInto(HDC dc) const {
    const Size size = m_picture.GetSize();
    if (m_drawn.width <= 0 || m_drawn.height <= 0 ||
        (m_drawn.width == size.width && m_drawn.height == size.height)) {
        Win32Canvas canvas(dc);
        m_picture.Paint(canvas, m_pictureAt);
        return;
    }
    // The frame at its own size off-screen, then scaled into place.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP frame = CreateCompatibleBitmap(dc, size.width, size.height);
    if (memory && frame) {
        HGDIOBJ previous = SelectObject(memory, frame);
        {
            Win32Canvas canvas(memory);
            m_picture.Paint(canvas);
        }
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, m_pictureAt.x, m_pictureAt.y, m_drawn.width, m_drawn.height, memory, 0, 0,
                   size.width, size.height, SRCCOPY);
        SelectObject(memory, previous);
    }
    if (frame) DeleteObject(frame);
    if (memory) DeleteDC(memory);
}

std::optional<LRESULT> Win32AnimatedPicture::Handle(HWND control, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
    if (m_link) {
        const auto click = [control] {
            SendMessageW(GetParent(control), WM_COMMAND,
                         MAKEWPARAM(GetDlgCtrlID(control), STN_CLICKED),
                         reinterpret_cast<LPARAM>(control));
        };
        if (auto result = keyboard_link::Handle(control, message, wParam, lParam, click)) {
            return result;
        }
    }
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(control, &paint);
            PaintInto(dc);
            if (m_link) keyboard_link::DrawFocusMark(control, dc);
            EndPaint(control, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintInto(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            // The canvas covers the whole control.
            return 1;
        case WM_NCHITTEST:
            // Clicks and the cursor over the picture belong to the dialog beneath.
            return HTTRANSPARENT;
        case WM_DESTROY:
            // The thread goes before the window it repaints.
            m_picture.HaltAnimation();
            break;
        case WM_NCDESTROY:
            m_control = nullptr;
            break;
        default:
            break;
    }
    return std::nullopt;
}
