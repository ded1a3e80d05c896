#include "toolkit/win32/win32_surface.h"

std::unique_ptr<Win32Surface> Win32Surface::Create(Size size) {
    if (size.width <= 0 || size.height <= 0) return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = -size.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    // A DIB section starts zeroed: the surface is black until drawn on.
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    return std::unique_ptr<Win32Surface>(new Win32Surface(dc, bitmap, previous, size));
}

Win32Surface::Win32Surface(HDC dc, HBITMAP bitmap, HGDIOBJ previous, Size size)
    : m_dc(dc), m_bitmap(bitmap), m_previous(previous), m_size(size) {
    m_canvas.emplace(dc);
}

Win32Surface::~Win32Surface() {
    m_canvas.reset();
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}
