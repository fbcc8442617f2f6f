// Two monitors, the second one left of the primary, so its coordinates are negative: the display
// of scripts/multimon-display, where Wine reports (0,0)-(1920,1080) as the primary monitor and
// (-1280,0)-(0,1024) beside it. The real program runs as a child process; the move between
// monitors of different DPI, which Wine cannot show (it gives every monitor one DPI), runs
// in-process with the DPI reached through the seam.
#include <windows.h>

#include <gtest/gtest.h>

#include "hook/hook.h"
#include "controller/activation.h"
#include "model/program_state.h"
#include "platform/dpi.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "support/program.h"

namespace {

using namespace mw::test;

constexpr RECT kLeft{-1280, 0, 0, 1024};
constexpr POINT kOnTheLeft{-640, 500};

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ")";
}

RECT MonitorOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONULL), &info);
    return info.rcMonitor;
}

class Multimon : public ::testing::Test {
  protected:
    void SetUp() override {
        // Everything below depends on the display; say plainly when it is not the one expected.
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "this display does not have two monitors";
        ASSERT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), -1280);
        ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 3200);
        const mw::MonitorPlace left = mw::MonitorAtPoint(program_.services.dpi, kOnTheLeft);
        ASSERT_TRUE(EqualRect(&left.monitor, &kLeft)) << Text(left.monitor);
    }
    // Left button down on the left monitor and one notch of the wheel: the popup opens; `popup`
    // is where it stands.
    static bool OpenGestureOnTheLeft(Resident& program, RECT& popup) {
        PlaceCursor(kOnTheLeft.x, kOnTheLeft.y);
        MouseButton(false, true);
        PumpFor(40);
        MouseWheel(-120);
        if (!program.Visible())
            return false;
        GetWindowRect(program.main, &popup);
        return true;
    }
    mw::ProgramState program_; // its system services, as the program has them
};

// The resident program with the cursor on the left monitor: a gesture opens the popup inside
// that monitor, and with "MoveWindow" on the chosen window ends on it.
TEST_F(Multimon, GestureOnTheLeftMonitorOpensThereAndMoveWindowBringsTheChoice) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha multimon"));
    ASSERT_TRUE(beta.Start(L"Beta multimon"));
    ASSERT_TRUE(Inside(RECT{200, 150, 600, 450}, MonitorOf(alpha.window))) << "started on the primary";
    BringToFront(beta.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nMoveWindow=1\r\n", L"", true));
    RECT popup{};
    ASSERT_TRUE(OpenGestureOnTheLeft(program, popup));
    EXPECT_TRUE(Inside(popup, kLeft)) << "popup at " << Text(popup);
    PumpFor(100);
    MouseWheel(-120); // Beta, then Alpha
    PumpFor(200);
    MouseButton(false, false);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(alpha.window));
    RECT moved{};
    POINT cursor{};
    EXPECT_TRUE(WaitFor([&] {
        GetWindowRect(alpha.window, &moved);
        return Inside(moved, kLeft);
    })) << "Alpha at "
        << Text(moved) << ", cursor at " << (GetCursorPos(&cursor), cursor.x) << "," << cursor.y;
    // Same DPI on both monitors here: the same offset from the new monitor's corner.
    EXPECT_EQ(moved.left, -1280 + 200);
    EXPECT_EQ(moved.top, 150);
    EXPECT_GE(GetAsyncKeyState(VK_LBUTTON), 0) << "no button left pressed";
    EXPECT_EQ(program.sandbox.Close(), 0);
}

// The tilt wheel during a gesture on the left monitor: right lists only that monitor's windows
// under the scope's line, a repeated tilt changes nothing, left lists all again; the release
// chooses the first window listed.
TEST_F(Multimon, TiltRightListsOnlyTheLeftMonitorsWindows) {
    Target alpha, beta, gamma;
    ASSERT_TRUE(alpha.Start(L"Alpha tilt"));
    ASSERT_TRUE(beta.Start(L"Beta tilt"));
    ASSERT_TRUE(gamma.Start(L"Gamma tilt"));
    SetWindowPos(beta.window, nullptr, -1000, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitFor([&] {
        const RECT m = MonitorOf(beta.window);
        return EqualRect(&m, &kLeft) != FALSE;
    }));
    BringToFront(gamma.window);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nArrangeWindow=0\r\n", L"", true));
    RECT popup{};
    ASSERT_TRUE(OpenGestureOnTheLeft(program, popup));
    const int all = popup.bottom - popup.top;
    auto heightBecomes = [&](int expected) {
        return WaitFor([&] {
            GetWindowRect(program.main, &popup);
            return popup.bottom - popup.top == expected;
        });
    };
    // Gamma and Alpha go (two rows of 40), the scope's line comes (49).
    const int narrowed = all - 2 * 40 + 49;
    MouseTilt(120);
    EXPECT_TRUE(heightBecomes(narrowed)) << "height " << all << " became " << popup.bottom - popup.top;
    EXPECT_TRUE(Inside(popup, kLeft)) << "popup at " << Text(popup);
    MouseTilt(120);
    PumpFor(200);
    EXPECT_TRUE(heightBecomes(narrowed)) << "a repeated tilt flipped the scope";
    MouseTilt(-120);
    EXPECT_TRUE(heightBecomes(all));
    MouseTilt(120);
    EXPECT_TRUE(heightBecomes(narrowed));
    MouseButton(false, false);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(beta.window)) << Describe(GetForegroundWindow());
    EXPECT_EQ(program.sandbox.Close(), 0);
}

// The frame overlay reaches across the monitors as far as the frames do: one window from the
// frame on the left monitor to the frame on the right one, not the whole virtual screen.
TEST_F(Multimon, FrameOverlaySpansTheFramesOnBothMonitors) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha frame"));
    ASSERT_TRUE(beta.Start(L"Beta frame"));
    // Alpha on the left monitor, beta where it opened on the primary one.
    SetWindowPos(alpha.window, nullptr, -1000, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Resident program;
    ASSERT_TRUE(program.Start(L"[Preference]\r\nAltab7=1\r\n"));
    ASSERT_TRUE(program.Open());
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND w : WindowsOfProcess(program.sandbox.process().pid(), L"WndFrame"))
            frame = w;
        return frame != nullptr;
    }));
    RECT r{};
    GetWindowRect(frame, &r);
    EXPECT_TRUE(r.left < 0 && r.right > 0)
        << "one overlay across both monitors: " << r.left << ".." << r.right;
    EXPECT_LT(r.right - r.left, GetSystemMetrics(SM_CXVIRTUALSCREEN))
        << "the overlay covers the whole virtual screen";
    PostMessageW(program.main, kMsgCancel, 0, 0);
    EXPECT_TRUE(program.Closed());
    EXPECT_EQ(program.sandbox.Close(), 0);
}

// "/NotReside" centres the cursor on the monitor the popup opens on; the launcher options
// dialog opens centred on the cursor's monitor.
TEST_F(Multimon, NotResidentCentresTheCursorAndOptionsOpenOnTheCursorsMonitor) {
    Target alpha, beta;
    ASSERT_TRUE(alpha.Start(L"Alpha centre"));
    ASSERT_TRUE(beta.Start(L"Beta centre"));
    PlaceCursor(kOnTheLeft.x, kOnTheLeft.y);
    ProgramSandbox once;
    once.WritePreferences(L"[Exclude]\r\ncnt=1\r\n1=Wine System Tray\r\n");
    ASSERT_TRUE(once.Start(L"/NotReside"));
    HWND main = once.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    POINT cursor{};
    EXPECT_TRUE(WaitFor([&] {
        GetCursorPos(&cursor);
        return cursor.x == -640 && cursor.y == 512;
    })) << "cursor at "
        << cursor.x << "," << cursor.y;
    RECT popup{};
    GetWindowRect(main, &popup);
    EXPECT_TRUE(Inside(popup, kLeft)) << "popup at " << Text(popup);
    PostMessageW(main, kMsgCancel, 0, 0);
    EXPECT_EQ(once.process().WaitExit(10000), 0);

    PlaceCursor(kOnTheLeft.x, kOnTheLeft.y);
    ProgramSandbox options;
    ASSERT_TRUE(options.Start(L"/_NotReside")); // the launcher options mode
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (HWND w : WindowsOfProcess(options.process().pid(), L"#32770")) {
                if (IsWindowVisible(w) && !GetParent(w))
                    dialog = w;
            }
            return dialog != nullptr;
        },
        10000));
    RECT r{};
    GetWindowRect(dialog, &r);
    MONITORINFO left{};
    left.cbSize = sizeof left;
    GetMonitorInfoW(MonitorFromPoint(kOnTheLeft, MONITOR_DEFAULTTONULL), &left);
    EXPECT_TRUE(Inside(r, left.rcWork)) << "dialog at " << Text(r);
    EXPECT_NEAR((r.left + r.right) / 2, (left.rcWork.left + left.rcWork.right) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, (left.rcWork.top + left.rcWork.bottom) / 2, 1);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0);
    EXPECT_GE(options.process().WaitExit(10000), 0);
}

// Wine gives both monitors one DPI; the left one is made a 144-DPI monitor through the seam, and
// the window keeps its place as the user sees it: its offset from the corner grows by half. A
// maximised window is moved restored and maximised again on the new monitor.
HRESULT WINAPI LeftMonitorAt144(HMONITOR monitor, int, UINT* x, UINT* y) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    *x = *y = info.rcMonitor.left < 0 ? 144 : 96;
    return S_OK;
}

TEST_F(Multimon, MoveWindowAcrossMonitorsOfDifferentDpi) {
    mw::ActivationOptions move{true, false, program_.services.dpi};
    move.dpi.getDpiForMonitor = LeftMonitorAt144;
    HWND window = CreateTestWindow(L"Moved across", WS_POPUP | WS_VISIBLE, 0, nullptr, 300, 200, 400, 300);
    PlaceCursor(kOnTheLeft.x, kOnTheLeft.y);
    mw::ActivateWindow(window, move);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, -1280 + 450);
    EXPECT_EQ(r.top, 300);

    PlaceCursor(900, 500); // back to the primary: the offset shrinks again
    mw::ActivateWindow(window, move);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 200);

    ShowWindow(window, SW_MAXIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsZoomed(window) != FALSE; }, 2000));
    PlaceCursor(kOnTheLeft.x, kOnTheLeft.y);
    mw::ActivateWindow(window, move);
    EXPECT_TRUE(IsZoomed(window)) << "still maximised";
    const RECT monitor = MonitorOf(window);
    EXPECT_TRUE(EqualRect(&monitor, &kLeft)) << "maximised on " << Text(monitor);
    DestroyWindow(window);
}

} // namespace
