#include "ui/banner_placement.h"

#include <algorithm>

#include "ui/dialog_ids.h"
#include "ui/dialog_layout.h"
#include "ui/dialog_scale.h"

namespace {

Rect Intersection(const Rect& a, const Rect& b) {
    const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    return r.Width() > 0 && r.Height() > 0 ? r : Rect{a.left, a.top, a.left, a.top};
}

}  // namespace

BannerPlacement PlaceBanner(Size reference, Size picture, Size drawn) {
    if (drawn.width <= 0 || drawn.height <= 0) drawn = picture;
    const DialogScale scale(reference);
    const Rect control = layout::ToPixels(*layout::FindControl(ids::kBanner), reference);
    const Size client = layout::ClientPixels(reference);
    const Size place = scale.Map(picture);
    const Rect area = Intersection(
        {control.left, control.top, control.left + place.width, control.top + place.height},
        {0, 0, client.width, client.height});
    const int left = area.left + (area.Width() - drawn.width) / 2;
    const int top = area.top + (area.Height() - drawn.height) / 2;
    const Rect shown = Intersection(area, {left, top, left + drawn.width, top + drawn.height});
    return {shown, {left - shown.left, top - shown.top}};
}
