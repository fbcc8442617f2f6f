// The middle click during a gesture, with real input through the real hook.dll: the selected
// window closes, the popup stays open without its entry, and the window under the cursor never
// sees the click.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/harness.h"

namespace {

using namespace mw::test;

// Input at a person's pace, as in the other gesture scenarios.
void Send(DWORD flags, int wheel = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = static_cast<DWORD>(wheel);
    SendInput(1, &in, sizeof in);
    PumpFor(40);
}

int Height(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

TEST(MiddleClose, AMiddleClickClosesTheSelectedWindowAndThePopupStaysWithoutIt) {
    Target alpha, beta, gamma;
    ASSERT_TRUE(alpha.Start(L"Alpha middle") && beta.Start(L"Beta middle") && gamma.Start(L"Gamma middle"));
    BringToFront(gamma.window);
    ASSERT_EQ(GetForegroundWindow(), gamma.window);
    // A window of the test process under the cursor records what reaches it.
    HWND recorder = CreateTestWindow(L"Recorder middle", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, nullptr,
                                     1400, 800, 300, 200);
    Resident program;
    ASSERT_TRUE(program.Start(L"", L"", true));
    PlaceCursor(1500, 900);
    PumpFor(200);
    ClearRecordedMessages(recorder);

    Send(MOUSEEVENTF_LEFTDOWN);
    Send(MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
    ASSERT_TRUE(program.Visible());
    Send(MOUSEEVENTF_WHEEL, -WHEEL_DELTA); // Gamma, Beta, Alpha: Beta selected
    PumpFor(200);
    const int before = Height(program.main);

    Send(MOUSEEVENTF_MIDDLEDOWN);
    Send(MOUSEEVENTF_MIDDLEUP);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(beta.window); })) << "the selected window did not close";
    EXPECT_TRUE(WaitFor([&] { return Height(program.main) < before; })) << "its entry is still listed";
    EXPECT_TRUE(IsWindowVisible(program.main)) << "the popup closed";
    EXPECT_TRUE(IsWindow(alpha.window) && IsWindow(gamma.window));

    // The selection kept its place: the entry now there is Alpha's.
    Send(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(alpha.window));
    PumpFor(200);
    EXPECT_EQ(CountRecorded(recorder, WM_MBUTTONDOWN), 0);
    EXPECT_EQ(CountRecorded(recorder, WM_MBUTTONUP), 0);
    EXPECT_GE(GetAsyncKeyState(VK_MBUTTON), 0) << "the middle button is left down";
    EXPECT_EQ(program.sandbox.Close(), 0);
    DestroyWindow(recorder);
}

} // namespace
