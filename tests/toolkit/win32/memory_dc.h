#pragma once

#include <windows.h>

#include "toolkit/canvas.h"

// A 32-bit top-down bitmap selected into a memory device context.
class MemoryDc {
public:
    MemoryDc(int width, int height) {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~MemoryDc() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC Get() const { return m_dc; }
    Color At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    void Fill(const RECT& r, COLORREF color) const {
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(m_dc, &r, brush);
        DeleteObject(brush);
    }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};
