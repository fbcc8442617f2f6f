// Hooks that Windows removes without telling, in every state of a gesture: the real program with
// the test build of hook.dll, whose hooks a test makes vanish as the system does. Afterwards no
// button or key is left down, no popup stays open, and the next gesture works again.
#include <windows.h>

#include <gtest/gtest.h>

#include "hook/hook.h"
#include "support/e2e.h"
#include "support/harness.h"
#include "support/hook_control.h"
#include "support/program.h"

namespace {

using namespace mw::test;

// Two windows of another program, Beta in front of Alpha.
struct LossBench {
    Target alpha, beta;
    Resident program;

    bool Start(const std::wstring& preferences = L"") {
        if (!alpha.Start(L"Alpha loss") || !beta.Start(L"Beta loss"))
            return false;
        BringToFront(beta.window);
        CopyFileW((BinDir() + L"\\hook_testbench.dll").c_str(), program.sandbox.file(L"hook.dll").c_str(),
                  FALSE);
        return program.Start(preferences, L"", true);
    }
    bool Drop(DWORD which) { return ControlHookIn(program.sandbox.process().handle(), which) == 0; }

    // Tries a gesture again and again until one opens the popup (then cancels it), for as long
    // as a lost hook may take to come back. Each attempt is input the lost hook misses.
    bool GestureWorksAgain() {
        const ULONGLONG deadline = GetTickCount64() + 20000;
        while (GetTickCount64() < deadline) {
            PlaceCursor(1500, 900);
            MouseButton(false, true);
            PumpFor(40);
            MouseWheel(-WHEEL_DELTA);
            const bool opened = WaitFor([&] { return IsWindowVisible(program.main) != FALSE; }, 1000);
            MouseButton(false, false);
            if (opened) {
                KeyTap(VK_ESCAPE);
                return program.Closed();
            }
            for (int i = 0; i < 15; ++i) {
                MouseMoveTo(1400 + i * 5, 800);
                PumpFor(10);
            }
        }
        return false;
    }
    bool AltTabWorksAgain() {
        const ULONGLONG deadline = GetTickCount64() + 20000;
        while (GetTickCount64() < deadline) {
            KeyPress(VK_MENU, true);
            KeyTap(VK_TAB);
            const bool opened = WaitFor([&] { return IsWindowVisible(program.main) != FALSE; }, 1000);
            KeyTap(VK_ESCAPE);
            KeyPress(VK_MENU, false);
            if (opened)
                return program.Closed();
            KeyTap(VK_F13);
        }
        return false;
    }
};

::testing::AssertionResult NothingDown() {
    for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_MENU, VK_SHIFT, VK_TAB, VK_ESCAPE}) {
        if (GetAsyncKeyState(vk) & 0x8000)
            return ::testing::AssertionFailure() << "virtual key " << vk << " is down";
    }
    return ::testing::AssertionSuccess();
}

TEST(HookLoss, LostDuringAHeldPressTheLatePressIsDroppedAndTheHookComesBack) {
    LossBench bench;
    ASSERT_TRUE(bench.Start());
    PlaceCursor(1500, 900);
    MouseButton(false, true); // held back, waiting for the wheel
    PumpFor(40);
    ASSERT_TRUE(bench.Drop(kTestDropMouse));
    MouseButton(false, false); // reaches the system directly now
    // Replaying the held press after the time-out would leave the button down for good.
    EXPECT_TRUE(bench.GestureWorksAgain());
    EXPECT_TRUE(WaitFor([] { return NothingDown().operator bool(); }, 3000)) << NothingDown().message();
    EXPECT_EQ(bench.program.sandbox.Close(), 0);
}

TEST(HookLoss, LostDuringAnOpenGestureThePopupClosesAsACancel) {
    LossBench bench;
    ASSERT_TRUE(bench.Start());
    PlaceCursor(1500, 900);
    MouseButton(false, true);
    PumpFor(40);
    MouseWheel(-WHEEL_DELTA);
    ASSERT_TRUE(bench.program.Visible());
    MouseWheel(-WHEEL_DELTA); // Alpha selected
    PumpFor(100);
    ASSERT_TRUE(bench.Drop(kTestDropMouse));
    MouseButton(false, false); // a release the hook never sees
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(bench.program.main); }, 10000))
        << "the popup stays open";
    EXPECT_EQ(GetForegroundWindow(), bench.beta.window)
        << "a cancel, not a choice: " << Describe(GetForegroundWindow());
    EXPECT_TRUE(NothingDown());
    EXPECT_TRUE(bench.GestureWorksAgain());
    EXPECT_EQ(bench.program.sandbox.Close(), 0);
}

TEST(HookLoss, KeyboardLostDuringAnAltTabPopupClosesItAsACancel) {
    LossBench bench;
    ASSERT_TRUE(bench.Start(L"[Preference]\r\nReplaceAltTab=2\r\n"));
    KeyPress(VK_MENU, true);
    KeyTap(VK_TAB);
    ASSERT_TRUE(bench.program.Visible());
    ASSERT_TRUE(bench.Drop(kTestDropKeyboard));
    KeyPress(VK_MENU, false); // would choose Alpha, had the hook seen it
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(bench.program.main); }, 10000))
        << "the popup stays open";
    PumpFor(300);
    EXPECT_EQ(GetForegroundWindow(), bench.beta.window)
        << "a cancel, not a choice: " << Describe(GetForegroundWindow());
    EXPECT_TRUE(NothingDown());
    EXPECT_TRUE(bench.AltTabWorksAgain());
    EXPECT_TRUE(bench.GestureWorksAgain());
    EXPECT_TRUE(WaitFor([] { return NothingDown().operator bool(); }, 3000)) << NothingDown().message();
    EXPECT_EQ(bench.program.sandbox.Close(), 0);
}

TEST(HookLoss, AKeyboardHookLostAloneIsNoticedByTypingAndComesBack) {
    LossBench bench;
    ASSERT_TRUE(bench.Start(L"[Preference]\r\nReplaceAltTab=2\r\n"));
    ASSERT_TRUE(bench.Drop(kTestDropKeyboard));
    for (int i = 0; i < 3; ++i)
        KeyTap(VK_F13);
    EXPECT_TRUE(bench.AltTabWorksAgain());
    EXPECT_TRUE(bench.GestureWorksAgain()) << "the mouse hook was never touched";
    EXPECT_TRUE(WaitFor([] { return NothingDown().operator bool(); }, 3000)) << NothingDown().message();
    EXPECT_EQ(bench.program.sandbox.Close(), 0);
}

} // namespace
