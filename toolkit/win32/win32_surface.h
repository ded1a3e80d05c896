#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "toolkit/canvas.h"
#include "toolkit/win32/win32_canvas.h"

// An off-screen picture in a 32-bit DIB selected into a memory device context, drawn on through
// a GDI canvas and copied from by any GDI canvas.
class Win32Surface final : public Surface {
public:
    // Null when the context or the bitmap cannot be made.
    [[nodiscard]] static std::unique_ptr<Win32Surface> Create(Size size);
    ~Win32Surface() override;
    Win32Surface(const Win32Surface&) = delete;
    Win32Surface& operator=(const Win32Surface&) = delete;

    Size GetSize() const override { return m_size; }
    Canvas& GetCanvas() override { return *m_canvas; }
    HDC Dc() const { return m_dc; }

private:
    Win32Surface(HDC dc, HBITMAP bitmap, HGDIOBJ previous, Size size);

    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
    Size m_size;
    // Goes first, giving the context back its font, before the context itself goes.
    std::optional<Win32Canvas> m_canvas;
};

class Win32SurfaceFactory final : public SurfaceFactory {
public:
    [[nodiscard]] std::unique_ptr<Surface> CreateSurface(Size size) override {
        return Win32Surface::Create(size);
    }
};
