#include "toolkit/win32/scaled_bitmap.h"

#include <cstring>

HBITMAP ScaledBitmap(std::span<const std::byte> file, Size size) {
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    if (size.width <= 0 || size.height <= 0 || file.size() < sizeof header + sizeof info) {
        return nullptr;
    }
    std::memcpy(&header, file.data(), sizeof header);
    std::memcpy(&info, file.data() + sizeof header, sizeof info);
    const auto rowBytes =
        ((static_cast<std::size_t>(info.biWidth) * info.biBitCount + 31) / 32) * 4;
    const auto height =
        static_cast<std::size_t>(info.biHeight < 0 ? -info.biHeight : info.biHeight);
    if (header.bfType != 0x4D42 || info.biSize < sizeof info || info.biWidth <= 0 || height == 0 ||
        (info.biBitCount != 24 && info.biBitCount != 32) || info.biCompression != BI_RGB ||
        header.bfOffBits > file.size() || file.size() - header.bfOffBits < rowBytes * height) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.width, size.height);
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        SetStretchBltMode(memory, HALFTONE);
        SetBrushOrgEx(memory, 0, 0, nullptr);
        BITMAPINFO source{};
        source.bmiHeader = info;
        source.bmiHeader.biSize = sizeof info;
        StretchDIBits(memory, 0, 0, size.width, size.height, 0, 0, info.biWidth,
                      static_cast<int>(height), file.data() + header.bfOffBits, &source,
                      DIB_RGB_COLORS, SRCCOPY);
        SelectObject(memory, previous);
    }
    if (memory) DeleteDC(memory);
    if (screen) ReleaseDC(nullptr, screen);
    if (bitmap && !memory) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}
