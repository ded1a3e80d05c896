#pragma once

#include <windows.h>

// A memory device context that stands in for `target` over `area` (in the target's coordinates):
// a painting composed in it reaches the target in one block transfer when the surface goes, so
// the screen never shows a half-painted state. It starts with the target's font.
class OffscreenSurface {
public:
    OffscreenSurface(HDC target, const RECT& area);
    ~OffscreenSurface();
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    // Draw here in the target's coordinates.
    HDC Dc() const { return m_dc; }

private:
    HDC m_target;
    RECT m_area;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previousBitmap = nullptr;
    HGDIOBJ m_previousFont = nullptr;
};
