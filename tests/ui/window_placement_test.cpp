#include "ui/window_placement.h"

#include <gtest/gtest.h>

namespace {

// Centred in the work area wherever that lies (a second screen left of the first has negative
// coordinates), the odd pixel to the right and below; a window larger than the area starts at its
// top-left corner.
TEST(WindowPlacementTest, CentresTheWindowInTheWorkAreaButNeverBeforeIt) {
    const struct {
        Rect area;
        Size window;
        Point origin;
    } cases[] = {
        {{0, 0, 1024, 768}, {400, 300}, {312, 234}},
        {{-1280, 40, 0, 1024}, {401, 301}, {-841, 381}},
        {{0, 30, 800, 600}, {900, 700}, {0, 30}},
        {{100, 0, 900, 600}, {900, 301}, {100, 149}},
    };
    for (const auto& c : cases) {
        const Point origin = CentredOrigin(c.area, c.window);
        EXPECT_EQ(origin.x, c.origin.x) << c.area.left << ", " << c.area.top;
        EXPECT_EQ(origin.y, c.origin.y) << c.area.left << ", " << c.area.top;
    }
}

}  // namespace
