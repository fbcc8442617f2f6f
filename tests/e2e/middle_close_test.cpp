// The middle click during a gesture, with real input through the real hook.dll.
#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using namespace mw::test;

// One piece of input at a person's pace, as in the other gesture scenarios.
void Send(DWORD flags, int wheel = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = static_cast<DWORD>(wheel);
    SendInput(1, &in, sizeof in);
    PumpFor(40);
}

TEST(MiddleClose, AMiddleClickClosesTheSelectedWindowAndThePopupStaysWithoutIt) {
    Target alpha, beta, gamma;
    ASSERT_TRUE(alpha.Start(L"Alpha middle") && beta.Start(L"Beta middle") && gamma.Start(L"Gamma middle"));
    BringToFront(gamma.window);
    // The window under the cursor must never see the click.
    HWND under =
        CreateTestWindow(L"Under middle", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, nullptr, 1400, 800);
    Resident program;
    ASSERT_TRUE(program.Start(L"", L"", true));
    PlaceCursor(1500, 900);
    Send(MOUSEEVENTF_LEFTDOWN);
    Send(MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
    ASSERT_TRUE(program.Visible());
    Send(MOUSEEVENTF_WHEEL, -WHEEL_DELTA); // Gamma, Beta, Alpha: Beta selected
    PumpFor(200);
    auto height = [&] {
        RECT r{};
        GetWindowRect(program.main, &r);
        return r.bottom - r.top;
    };
    const int before = height();
    Send(MOUSEEVENTF_MIDDLEDOWN);
    Send(MOUSEEVENTF_MIDDLEUP);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(beta.window); })) << "the selected window did not close";
    EXPECT_TRUE(WaitFor([&] { return height() < before; })) << "its entry is still listed";
    EXPECT_TRUE(IsWindowVisible(program.main)) << "the popup closed";
    Send(MOUSEEVENTF_LEFTUP); // the selection kept its place, where Alpha is now
    EXPECT_TRUE(program.Closed());
    EXPECT_TRUE(ForegroundBecomes(alpha.window));
    EXPECT_EQ(CountRecorded(under, WM_MBUTTONDOWN) + CountRecorded(under, WM_MBUTTONUP), 0);
    EXPECT_GE(GetAsyncKeyState(VK_MBUTTON), 0) << "the middle button is left down";
    EXPECT_EQ(program.sandbox.Close(), 0);
    DestroyWindow(under);
}

} // namespace
