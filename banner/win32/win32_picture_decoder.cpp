#include "banner/win32/win32_picture_decoder.h"

// clang-format off
#include <ole2.h>
#include <olectl.h>
// clang-format on

#include <climits>
#include <cstring>

#include "toolkit/win32/win32_canvas.h"

namespace {

// HIMETRIC units (0.01 mm) in an inch.
constexpr int kHimetricPerInch = 2540;

// Owns one reference to the picture object, given back when the picture goes.
class OlePicture final : public Picture {
public:
    OlePicture(IPicture* picture, SIZE himetric, Size pixels)
        : m_picture(picture), m_himetric(himetric), m_pixels(pixels) {}
    ~OlePicture() override { m_picture->Release(); }
    OlePicture(const OlePicture&) = delete;
    OlePicture& operator=(const OlePicture&) = delete;

    Size GetSize() const override { return m_pixels; }

    bool Draw(Canvas& canvas, const Rect& into, const Rect& from) const override {
        auto* gdi = dynamic_cast<Win32Canvas*>(&canvas);
        if (!gdi) return false;
        // The source in HIMETRIC, whose rows count up from the picture's bottom edge: a part
        // drawn upright starts at its top row and runs downwards, a negative extent.
        const LONG left = MulDiv(from.left, m_himetric.cx, m_pixels.width);
        const LONG right = MulDiv(from.right, m_himetric.cx, m_pixels.width);
        const LONG top = MulDiv(from.top, m_himetric.cy, m_pixels.height);
        const LONG bottom = MulDiv(from.bottom, m_himetric.cy, m_pixels.height);
        return SUCCEEDED(m_picture->Render(gdi->Dc(), into.left, into.top, into.Width(),
                                           into.Height(), left, m_himetric.cy - top, right - left,
                                           -(bottom - top), nullptr));
    }

private:
    IPicture* m_picture;
    SIZE m_himetric;
    Size m_pixels;
};

// The screen's pixels per inch, across and down.
Size ScreenResolution() {
    Size dpi{96, 96};
    if (HDC screen = GetDC(nullptr)) {
        dpi = {GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

// A stream over a copy of `bytes` that frees its memory when released; null when none can be
// made.
IStream* StreamOf(std::span<const std::byte> bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) return nullptr;
    void* data = GlobalLock(block);
    if (!data) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    return stream;
}

}  // namespace

std::unique_ptr<Picture> Win32PictureDecoder::Decode(std::span<const std::byte> bytes) const {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(LONG_MAX)) return nullptr;
    IStream* stream = StreamOf(bytes);
    if (!stream) return nullptr;
    IPicture* picture = nullptr;
    const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE,
                                          IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || !picture) return nullptr;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    const Size dpi = ScreenResolution();
    Size pixels;
    if (SUCCEEDED(picture->get_Width(&width)) && SUCCEEDED(picture->get_Height(&height))) {
        pixels = {MulDiv(width, dpi.width, kHimetricPerInch),
                  MulDiv(height, dpi.height, kHimetricPerInch)};
    }
    if (pixels.width <= 0 || pixels.height <= 0) {
        picture->Release();
        return nullptr;
    }
    return std::make_unique<OlePicture>(picture, SIZE{width, height}, pixels);
}
