#pragma once

#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

// Pictures for image lists: one colour each, with the top-left pixel in the mask colour, which
// ImageList_AddMasked makes transparent.
constexpr COLORREF kMaskColour = RGB(0, 255, 0);

inline HBITMAP MaskedPicture(int width, int height, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SetPixel(dc, 0, 0, kMaskColour);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Adds a picture of the list's size.
inline void AddMaskedPicture(HIMAGELIST list, COLORREF colour) {
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(list, &width, &height);
    HBITMAP bitmap = MaskedPicture(width, height, colour);
    ImageList_AddMasked(list, bitmap, kMaskColour);
    DeleteObject(bitmap);
}
