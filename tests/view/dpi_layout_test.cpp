// The popup on a scaled display: design.ini's 96-DPI sizes in pixels of the monitor's DPI, and
// the geometry that follows from them.
#include <gtest/gtest.h>

#include "view/design.h"
#include "view/render.h"

namespace {

using namespace mw;

TEST(DesignForDpi, SizesScaleColoursAndSwitchesStay) {
    Design d;
    d.textWidth = 300;
    d.thumbnail = 1;
    d.backgroundColor = RGB(1, 2, 3);
    struct Row {
        UINT dpi;
        int ws, is, maxWidth, width, ts, ic;
    };
    const Row rows[] = {
        {96, 12, 4, 500, 300, 100, 32},
        {120, 15, 5, 625, 375, 125, 40},
        {144, 18, 6, 750, 450, 150, 48},
        {192, 24, 8, 1000, 600, 200, 64},
    };
    for (const Row& r : rows) {
        const Design s = DesignForDpi(d, r.dpi);
        EXPECT_EQ(s.windowSpace, r.ws) << r.dpi;
        EXPECT_EQ(s.itemSpace, r.is) << r.dpi;
        EXPECT_EQ(s.textMaxWidth, r.maxWidth) << r.dpi;
        EXPECT_EQ(s.textWidth, r.width) << r.dpi;
        EXPECT_EQ(s.thumbnailSize, r.ts) << r.dpi;
        EXPECT_EQ(s.iconSize, r.ic) << r.dpi;
        EXPECT_EQ(s.backgroundColor, d.backgroundColor);
        EXPECT_EQ(s.thumbnail, 1);
        EXPECT_EQ(s.textAlign, d.textAlign);
    }
    d.textWidth = -1; // no fixed column stays no fixed column
    EXPECT_EQ(DesignForDpi(d, 144).textWidth, -1);
}

TEST(SelectionOutline, TwoPixelsAt96AndScaledAbove) {
    const RECT r{12, 52, 248, 92};
    RECT f[8];
    ASSERT_EQ(SelectionOutlineFrames(r, 96, f, 8), 2);
    EXPECT_EQ(f[0].left, 10);
    EXPECT_EQ(f[0].top, 53);
    EXPECT_EQ(f[0].right, 250);
    EXPECT_EQ(f[0].bottom, 91);
    EXPECT_EQ(f[1].left, 9);
    EXPECT_EQ(f[1].bottom, 90);
    EXPECT_EQ(SelectionOutlineFrames(r, 0, f, 8), 2) << "no DPI: as at 96";
    // 144 DPI: three pixels thick, three pixels out sideways, two in vertically.
    ASSERT_EQ(SelectionOutlineFrames(r, 144, f, 8), 3);
    EXPECT_EQ(f[0].left, 9);
    EXPECT_EQ(f[0].top, 54);
    EXPECT_EQ(f[2].left, 7);
    EXPECT_EQ(f[2].right, 253);
    EXPECT_EQ(f[2].bottom, 88);
    EXPECT_EQ(SelectionOutlineFrames(r, 192, f, 8), 4);
}

} // namespace
