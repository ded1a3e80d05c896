#include "ui/win32/density_picture.h"

#include "base/resource_source.h"
#include "toolkit/win32/scaled_bitmap.h"
#include "ui/picture_density.h"

DensityPicture::~DensityPicture() {
    if (m_made) DeleteObject(m_made);
}

void DensityPicture::Show(HWND control, const ResourceSource& resources, int id, int dpi) {
    if (!m_made) {
        BITMAP shown{};
        const auto bitmap =
            reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (!bitmap || !GetObjectW(bitmap, sizeof shown, &shown)) return;
        m_plain = {shown.bmWidth, shown.bmHeight};
    }
    const PictureChoice choice = ChoosePicture(dpi, m_plain);
    // The template's plain bitmap stays until a large one is needed; once replaced (the window
    // moved to a denser monitor and back), the large one stands in for it at the plain size.
    if (!choice.large && !m_made) return;
    HBITMAP made = ScaledBitmap(resources.Find("BITMAP@2x", id), choice.drawn);
    if (!made) return;
    // The control hands back the bitmap it showed, which nothing else frees: the template's, or
    // the one made here before.
    const auto previous = reinterpret_cast<HBITMAP>(
        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(made)));
    if (previous && previous != m_made) DeleteObject(previous);
    if (m_made) DeleteObject(m_made);
    m_made = made;
}

HWND FindPictureControl(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[8] = {};
        GetClassNameW(child, kind, 8);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (lstrcmpiW(kind, L"Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP) return child;
    }
    return nullptr;
}
