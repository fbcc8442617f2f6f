#include "platform/dpi.h"

#include <gtest/gtest.h>

namespace {

using namespace mw;

// design.ini sizes are 96-DPI values; each row is a size at 96, 120, 144 and 192 DPI (100, 125,
// 150 and 200 %), halves rounded away from zero.
TEST(Dpi, ScaleForDpiAtTheCommonScalings) {
    struct Row {
        int at96, at120, at144, at192;
    };
    const Row rows[] = {
        {1, 1, 2, 2},         {2, 3, 3, 4},          {4, 5, 6, 8},      {12, 15, 18, 24}, {32, 40, 48, 64},
        {100, 125, 150, 200}, {500, 625, 750, 1000}, {-5, -6, -8, -10}, {0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ScaleForDpi(r.at96, 96), r.at96);
        EXPECT_EQ(ScaleForDpi(r.at96, 120), r.at120) << r.at96;
        EXPECT_EQ(ScaleForDpi(r.at96, 144), r.at144) << r.at96;
        EXPECT_EQ(ScaleForDpi(r.at96, 192), r.at192) << r.at96;
    }
    EXPECT_EQ(ScaleForDpi(32, 0), 32) << "an unknown DPI is 96";
    // A message font of -12 at a 96-DPI system on a 144-DPI monitor, and back.
    EXPECT_EQ(ScaleBetweenDpis(-12, 96, 144), -18);
    EXPECT_EQ(ScaleBetweenDpis(-18, 144, 96), -12);
    EXPECT_EQ(ScaleBetweenDpis(-15, 120, 192), -24);
    EXPECT_EQ(ScaleBetweenDpis(300, 144, 144), 300);
}

BOOL WINAPI NoSystemParametersForDpi(UINT, UINT, void*, UINT, UINT) {
    return FALSE;
}

// Where the system cannot give the font for a DPI, the system DPI's font is scaled by the ratio
// of the DPIs; at the system DPI it is the system's font itself, never scaled again.
TEST(Dpi, MessageFontScalesFromTheSystemDpiOnce) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const LONG systemHeight = metrics.lfMessageFont.lfHeight;
    const UINT system = SystemDpi();

    UniqueModule shcore;
    DpiApi api = LookUpSystemDpiApi(shcore);
    api.systemParametersInfoForDpi = NoSystemParametersForDpi;
    EXPECT_EQ(MessageFontForDpi(api, system).lfHeight, systemHeight);
    EXPECT_EQ(MessageFontForDpi(api, system * 2).lfHeight, systemHeight * 2);
    EXPECT_STREQ(MessageFontForDpi(api, system * 2).lfFaceName, metrics.lfMessageFont.lfFaceName);
    api = LookUpSystemDpiApi(shcore);
    EXPECT_EQ(MessageFontForDpi(api, system).lfHeight, systemHeight);
}

// Between workspace and screen coordinates: the offset of the monitor's work area from its
// corner (a task bar at the left or top), both ways.
TEST(Activation, WorkspaceCoordinatesFollowTheWorkArea) {
    const RECT monitor{-1280, 0, 0, 1024}, work{-1280, 40, 0, 1024}; // task bar on top
    const RECT screen = WorkspaceToScreen({10, 20, 110, 220}, monitor, work);
    EXPECT_EQ(screen.left, 10);
    EXPECT_EQ(screen.top, 60);
    EXPECT_EQ(screen.bottom, 260);
    const RECT back = ScreenToWorkspace(screen, monitor, work);
    EXPECT_EQ(back.top, 20);
    EXPECT_EQ(back.right, 110);
}

} // namespace
