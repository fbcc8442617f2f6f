#include "controller/activation.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/unique_handle.h"

#include "support/harness.h"

namespace {

using namespace mw;

TEST(Activation, MonitorArithmeticKeepsTheOffsetFromTheCorner) {
    // A window at (2020, 50) on a monitor at (1920, 0) moves to (100, 50) on the monitor at (0, 0).
    POINT p = MoveBetweenMonitors({2020, 50}, {1920, 0}, {0, 0});
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 50);
    // Monitors left of and above the primary one have negative origins.
    p = MoveBetweenMonitors({-1800, -1000}, {-1920, -1080}, {0, 0});
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(p.y, 80);
    // The window is not clipped to the new monitor.
    p = MoveBetweenMonitors({3800, 10}, {1920, 0}, {0, 0});
    EXPECT_EQ(p.x, 1880);
}

// Between monitors of different DPI the offset from the corner keeps its size as the user sees
// it: it is scaled by the ratio of the DPIs.
TEST(Activation, MoveBetweenMonitorsOfDifferentDpiScalesTheOffset) {
    struct Row {
        POINT window, from;
        UINT fromDpi;
        POINT to;
        UINT toDpi;
        POINT expected;
    };
    const Row rows[] = {
        // From the primary at 96 to a 144-DPI monitor on its left.
        {{300, 200}, {0, 0}, 96, {-1280, 0}, 144, {-830, 300}},
        // And back from it.
        {{-830, 300}, {-1280, 0}, 144, {0, 0}, 96, {300, 200}},
        // 120 to 192 DPI, the monitor above the primary; a window reaching past the corner.
        {{-20, -1000}, {0, -1080}, 120, {1920, 0}, 192, {1888, 128}},
        // Equal DPIs keep the offset to the pixel.
        {{2021, 51}, {1920, 0}, 144, {0, 0}, 144, {101, 51}},
    };
    for (const Row& r : rows) {
        const POINT p = MoveBetweenMonitors(r.window, r.from, r.to, r.fromDpi, r.toDpi);
        EXPECT_EQ(p.x, r.expected.x) << r.fromDpi << "->" << r.toDpi;
        EXPECT_EQ(p.y, r.expected.y) << r.fromDpi << "->" << r.toDpi;
    }
}

TEST(Activation, CentreTruncatesTowardZero) {
    EXPECT_EQ(RectCentre({10, 0, 21, 0}).x, 15);
    EXPECT_EQ(RectCentre({-21, -21, -10, -10}).x, -16);
    EXPECT_EQ(RectCentre({0, 7, 0, 10}).y, 8);
}

TEST(Activation, RestoresMinimisedWindowBringsItToFrontAndCentresCursor) {
    HWND other =
        test::CreateTestWindow(L"activation other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 50, 50);
    HWND target = test::CreateTestWindow(L"activation target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr,
                                         400, 300, 301, 201);
    ShowWindow(target, SW_MINIMIZE);
    SetForegroundWindow(other);
    test::WaitFor([&] { return IsIconic(target) && GetForegroundWindow() == other; }, 2000);
    ActivateWindow(target, {false, true});
    EXPECT_TRUE(test::WaitFor([&] { return !IsIconic(target) && GetForegroundWindow() == target; }, 2000));
    RECT r{};
    GetWindowRect(target, &r);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, r.left + (r.right - r.left) / 2);
    EXPECT_EQ(cursor.y, r.top + (r.bottom - r.top) / 2);
    DestroyWindow(target);
    DestroyWindow(other);
}

// A minimised window whose thread stopped answering is restored without waiting, so its own
// rectangle is still the minimised one when "AdjustCursor" places the cursor: the cursor went to
// the screen's corner. It goes to the centre of the rectangle the window comes back to. (The
// window lives on a thread of this process that stops reading its messages: Wine tells another
// process's placement only as its current rectangle.)
TEST(Activation, AdjustCursorOnAMinimisedHungWindowAimsAtItsRestoredRectangle) {
    UniqueHandle minimised(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle wake(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HWND target = nullptr;
    std::thread owner([&] {
        target = test::CreateTestWindow(L"activation hung", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 400,
                                        300, 301, 201);
        ShowWindow(target, SW_MINIMIZE);
        SetEvent(minimised.get());
        WaitForSingleObject(wake.get(), INFINITE); // hung: nothing is read meanwhile
        test::WaitFor([&] { return !IsIconic(target); }, 2000);
        DestroyWindow(target);
    });
    WaitForSingleObject(minimised.get(), INFINITE);
    ASSERT_TRUE(IsIconic(target));
    test::PlaceCursor(1700, 100);
    ActivateWindow(target, {false, true});
    POINT cursor{};
    GetCursorPos(&cursor);
    SetEvent(wake.get());
    owner.join();
    EXPECT_EQ(cursor.x, 400 + 301 / 2);
    EXPECT_EQ(cursor.y, 300 + 201 / 2);
}

TEST(Activation, WindowOnTheCursorMonitorDoesNotMoveAndAClosedWindowIsHarmless) {
    HWND target =
        test::CreateTestWindow(L"activation stay", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 321, 123);
    RECT before{};
    GetWindowRect(target, &before);
    ActivateWindow(target, {true, false});
    RECT after{};
    GetWindowRect(target, &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    DestroyWindow(target);
    ActivateWindow(target, {true, true}); // gone meanwhile: every call fails without effect
    SUCCEED();
}

} // namespace
