#pragma once

#include <windows.h>

// An off-screen device context standing in for `target` over an area of it, in the target's own
// coordinates: what is painted into it reaches the target in one copy when it goes, so the screen
// never shows a half-painted item. Its bitmap reaches from the target's origin to the area's
// right and bottom edges, so no origin has to be shifted; drawing is clipped to the area. The
// bitmap starts undefined: paint every pixel of the area. A printer's context is drawn on
// directly, as nothing flickers on paper.
class CBufferDC {
public:
    // An empty `area` stands for the target's clip box.
    CBufferDC(HDC target, const RECT& area);
    ~CBufferDC();
    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

    HDC Dc() const { return m_dc; }
    operator HDC() const { return m_dc; }
    // The buffered area, in the target's coordinates.
    const RECT& Area() const { return m_area; }

private:
    HDC m_target;
    HBITMAP m_bitmap = nullptr;
    RECT m_area;
    HGDIOBJ m_previousBitmap = nullptr;
    HDC m_dc = nullptr;
};
