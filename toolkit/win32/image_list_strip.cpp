#include "toolkit/win32/image_list_strip.h"

ImageListStrip::ImageListStrip(HIMAGELIST list) {
    int width = 0;
    int height = 0;
    const int count = list ? ImageList_GetImageCount(list) : 0;
    if (count <= 0 || !ImageList_GetIconSize(list, &width, &height)) return;
    m_surface = Win32Surface::Create({width * count, height});
    if (!m_surface) return;
    m_surface->GetCanvas().FillSolidRect({0, 0, width * count, height}, kKey);
    for (int i = 0; i < count; ++i) {
        ImageList_Draw(list, i, m_surface->Dc(), i * width, 0, ILD_TRANSPARENT);
    }
    m_strip = {m_surface.get(), {width, height}, kKey};
}
